#!/usr/bin/env bash
# Uses the real program as a person would, under a virtual X server at 96 dots
# per inch with openbox and real mouse and keyboard events: adds a new female
# name, takes a mistaken one out again through the menu of the new-name field
# and undoes that, draws the new name back by its beginning, copies it, opens
# the statistics and closes the window. Then checks byte for byte what the
# program wrote. Screenshots of the main view and of the statistics view are
# left in ARTIFACT_DIR.
# Usage: main_scenario.sh TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
exe=$1
data=$2
artifacts=$3
source "$(dirname "$0")/lib.sh"
E2E_ARTIFACTS=$artifacts
e2e_need_tools xclip compare convert
e2e_start

name=Zyxwanda   # in neither default database
beginning=Zyxw  # begins no other female name
decoy=Zyxwalter # a male name with the same beginning: drawn only if the gender choice is lost
title=$E2E_TITLE

dir=$E2E_TMP
program=$dir/program
mkdir "$program" "$dir/x"
cp "$exe" "$program/tavolin"
cp "$data/fnames.dat" "$data/mnames.dat" "$program/"
printf '%s\xb3\r\n' "$decoy" >>"$program/mnames.dat"
cp "$program/mnames.dat" "$dir/mnames.expected"
{ cat "$data/fnames.dat" && printf '%s\xb3\r\n' "$name"; } >"$dir/fnames.expected"
# The defaults of the look: black "MS Sans Serif" 8 pt, white input fields,
# silver panels and background.
printf '%s\r\n' 0 0 0 "MS Sans Serif" 8 255 255 255 192 192 192 192 192 192 >"$dir/tavolin.expected"
mkdir -p "$artifacts"
rm -f "$artifacts/main_view.png" "$artifacts/statistics_view.png" "$artifacts/failure-main_scenario.png"

"$program/tavolin" &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "$pid" "$title" 60) || e2e_fail "no window titled '$title'"
# Under the window manager the frame, not the client area, sits in the corner.
read -r left top < <(e2e_x translate "$win" 0 0)
((left <= 8 && top <= 40)) || e2e_fail "the window is not at the top-left corner: client area at $left,$top"

click() {
    e2e_click "$win" "$1" "$2"
}

clipboard() {
    xclip -o -selection clipboard 2>/dev/null || true
}

clipboard_differs() {
    [ "$(clipboard)" != "$1" ]
}

file_equals() {
    cmp -s "$1" "$2"
}

# Saves a capture of the window once two captures in a row agree, so that it
# shows the window after its last repaint.
screenshot() {
    local file=$1 last=$dir/x/last.png
    import -window "$win" "$last"
    for _ in $(seq 100); do
        sleep 0.2
        import -window "$win" "$file"
        [ "$(compare -metric AE "$last" "$file" null: 2>&1 || true)" = 0 ] && return 0
        mv "$file" "$last"
    done
    e2e_fail "the window does not stop changing"
}

is_white() {
    import -window "$win" "$dir/x/pixel.png"
    [ "$(convert "$dir/x/pixel.png" -format "%[fx:p{$1,$2}.r == 1 && p{$1,$2}.g == 1 && p{$1,$2}.b == 1]" info:)" = 1 ]
}

# Add the name: Edit2 (156, 288, 140 x 21), then Button2 (107, 336, 239 x 25).
click 226 298
e2e_type "$name"
click 226 348
e2e_wait_for 30 file_equals "$program/fnames.dat" "$dir/fnames.expected" ||
    e2e_fail "fnames.dat does not end with the new name: $(tail -c 40 "$program/fnames.dat" | od -c)"

# A name added by mistake goes again through the menu of Edit2 (the question
# answered "Ja"), every other byte kept; the menu's undo puts it back last.
has_mistake() { grep -q "$(printf 'Zyxfehler\xb3')" "$program/fnames.dat"; }
e2e_add_name "$win" Zyxfehler
e2e_wait_for 30 has_mistake || e2e_fail "Zyxfehler did not reach fnames.dat"
e2e_edit_menu "$pid" "$win" 226 298 2 # "Aus der Namen-Datenbank entfernen"
e2e_answer "$pid" "Name entfernen" alt+j
e2e_wait_for 30 file_equals "$program/fnames.dat" "$dir/fnames.expected" || e2e_fail "the removal changed more"
e2e_edit_menu "$pid" "$win" 226 298 1 # "Letzte Namensänderung rückgängig"
printf 'Zyxfehler\xb3\r\n' >>"$dir/fnames.expected"
e2e_wait_for 30 file_equals "$program/fnames.dat" "$dir/fnames.expected" || e2e_fail "the undo did not bring it back"
e2e_wait_for 5 e2e_only_windows "$pid" "$title" || e2e_fail "a menu or box stays on screen"

# Its beginning into Edit3 (177, 224, 97 x 21); "Weibliche Wuzels" is the
# first item of RadioGroup1 (261, 8), its circle at the item's left end.
click 225 234
e2e_type "$beginning"
click 276 32
# Button1 (29, 8, 226 x 25) draws, Button3 (29, 64, 226 x 17) copies. With
# "Egal" left selected, the decoy would come up now and then.
for draw in 1 2 3; do
    printf 'leer' | xclip -i -selection clipboard
    click 142 20
    click 142 72
    e2e_wait_for 30 clipboard_differs leer || e2e_fail "draw $draw: nothing was copied"
    [ "$(clipboard)" = "$name" ] || e2e_fail "draw $draw: the clipboard holds '$(clipboard)', not '$name'"
done
screenshot "$artifacts/main_view.png"

# Button7 (313, 512, 129 x 25) opens the statistics over the upper bands.
click 377 524
e2e_wait_for 30 is_white 5 300 || e2e_fail "the statistics view did not open"
screenshot "$artifacts/statistics_view.png"

# Close the window as a window manager does: WM_DELETE_WINDOW.
e2e_close "$win"
ended() { ! kill -0 "$pid" 2>/dev/null; }
e2e_wait_for 30 ended || e2e_fail "the program is still running after its window was closed"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" = 0 ] || e2e_fail "exit code $rc"

# What the program wrote: the name at once, the look when the window closed.
cmp "$program/fnames.dat" "$dir/fnames.expected" || e2e_fail "fnames.dat"
cmp "$program/mnames.dat" "$dir/mnames.expected" || e2e_fail "mnames.dat changed"
cmp "$program/tavolin.ini" "$dir/tavolin.expected" || e2e_fail "tavolin.ini: $(od -c "$program/tavolin.ini" | head)"
files=$(cd "$program" && ls -A | tr '\n' ' ')
[ "$files" = "fnames.dat mnames.dat tavolin tavolin.ini " ] || e2e_fail "the program folder holds: $files"
echo "ok: added, drawn, copied and saved; screenshots in $artifacts"
