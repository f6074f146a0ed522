#!/usr/bin/env bash
# The window's standard dialogs as a person uses them, under openbox: typed
# into at a human pace, closed with Return, and checked afterwards for any
# window of the program that outlived them. One scenario per run:
#   open    "Datei laden..." (OpenDialog1): typed names with and without
#           extension, Return, then one click on "Verschmelze!" merges
#   design  "Oberfläche speichern unter..." refuses a missing folder, saves
#           "meinDesign"; "Oberfläche laden..." loads it back as "meinDesign"
#   font    "Gesamtschrift auswählen..." and OK without a change: the window
#           and tavolin.ini stay as they were
# Screenshots of each dialog as the user sees it are left in ARTIFACT_DIR.
# Usage: dialogs.sh open|design|font TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
scenario=$1
exe=$2
data=$3
E2E_ARTIFACTS=$4
source "$(dirname "$0")/lib.sh"
e2e_need_tools compare convert
e2e_start

main_title=$E2E_TITLE
program=$E2E_TMP/program
work=$E2E_TMP/work # where the dialogs open: the program's working folder
mkdir -p "$program" "$work" "$E2E_ARTIFACTS"
cp "$exe" "$program/tavolin"
cp "$data/fnames.dat" "$data/mnames.dat" "$program/"
default_record=$(printf '%s\r\n' 0 0 0 "MS Sans Serif" 8 255 255 255 192 192 192 192 192 192)

(cd "$work" && exec "$program/tavolin") &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "$pid" "$main_title") || e2e_fail "no window titled '$main_title'"

# Waits for a dialog of the program, keeps a picture of it once the user
# could read it, and prints its id.
dialog() {
    local title=$1 picture=$2 id
    id=$(e2e_wait_window "$pid" "$title") || e2e_fail "no dialog titled '$title'"
    e2e_wait_for 10 eval '[ "$(xdotool getwindowfocus)" = "$id" ]' || e2e_fail "'$title' has no keyboard focus"
    e2e_settled_screenshot "$E2E_ARTIFACTS/$picture"
    echo "$id"
}

only_main_window() {
    e2e_wait_for 10 e2e_only_windows "$pid" "$main_title" 2>/dev/null || {
        e2e_only_windows "$pid" "$main_title"
        e2e_fail "$1: a window of the program outlived the dialog"
    }
}

has_popup() {
    e2e_windows "$pid" | cut -f 2 | grep -qx popup
}

# The window's popup menu, opened with a right-click on a free area; the
# item is chosen with the arrow keys (its place among the nine items).
menu_item() {
    e2e_click "$win" 430 250 3
    e2e_wait_for 10 has_popup || e2e_fail "the popup menu did not open"
    local i
    for ((i = 0; i < $1; i++)); do e2e_key Down; done
    e2e_key Return
}

close_program() {
    e2e_close "$win"
    ended() { ! kill -0 "$pid" 2>/dev/null; }
    e2e_wait_for 30 ended || e2e_fail "the program is still running after its window was closed"
    local rc=0
    wait "$pid" || rc=$?
    [ "$rc" = 0 ] || e2e_fail "exit code $rc"
}

case $scenario in
open)
    # Two foreign databases in the working folder, one with an upper-case
    # extension; neither name is in the program's databases.
    printf 'Zyxa\xb3Zyxb\xb3' >"$work/meine.dat"
    printf 'Zyxc\xb3' >"$work/andere.DAT"
    cp "$program/fnames.dat" "$E2E_TMP/fnames.expected"
    for load in "meine.dat:Zyxa Zyxb" "andere:Zyxc"; do
        typed=${load%%:*}
        e2e_click "$win" 52 412 # Button5 "Datei laden..."
        dialog "Wuzelnamen-Datenbank öffnen" open_dialog.png >/dev/null
        e2e_type "$typed"
        # The completion list shows as the user types on: it must not
        # outlive the dialog.
        e2e_wait_for 10 has_popup || e2e_fail "$typed: no completion list while typing"
        e2e_screenshot "$E2E_ARTIFACTS/open_dialog_typed.png"
        e2e_key Return
        e2e_wait_gone "$pid" "Wuzelnamen-Datenbank öffnen" || e2e_fail "$typed: the dialog did not close"
        only_main_window "$typed"
        # One click on "Verschmelze!" merges into the female database.
        e2e_click "$win" 268 476
        e2e_wait_window "$pid" "Erfolgreich" 10 >/dev/null || e2e_fail "$typed: one click did not merge"
        e2e_wait_for 10 e2e_only_windows "$pid" "$main_title" "Erfolgreich" || e2e_fail "$typed: stray window"
        e2e_key Return
        only_main_window "$typed: the box"
        for name in ${load#*:}; do printf '%s\xb3\r\n' "$name" >>"$E2E_TMP/fnames.expected"; done
        cmp "$program/fnames.dat" "$E2E_TMP/fnames.expected" ||
            e2e_fail "$typed: fnames.dat: $(tail -c 40 "$program/fnames.dat" | od -c)"
    done
    e2e_settled_screenshot "$E2E_ARTIFACTS/open_merged.png"
    close_program
    ;;
design)
    # A folder that does not exist is refused in the dialog, in German.
    menu_item 7 # "Oberfläche speichern unter..."
    dialog "Oberfläche abspeichern..." save_dialog.png >/dev/null
    e2e_type "fehlt/meinDesign"
    e2e_key Return
    e2e_wait_for 10 e2e_only_windows "$pid" "$main_title" "Oberfläche abspeichern..." "Oberfläche abspeichern..." ||
        e2e_fail "the missing folder was not refused"
    e2e_settled_screenshot "$E2E_ARTIFACTS/save_dialog_refused.png"
    e2e_key Return
    e2e_wait_for 10 e2e_only_windows "$pid" "$main_title" "Oberfläche abspeichern..." ||
        e2e_fail "the save dialog did not stay after the refusal"
    [ ! -e "$work/fehlt" ] || e2e_fail "a folder was created"
    # Saved as meinDesign: the file gets the lower-case extension.
    e2e_key ctrl+a
    e2e_type "meinDesign"
    e2e_key Return
    e2e_wait_gone "$pid" "Oberfläche abspeichern..." || e2e_fail "the save dialog did not close"
    only_main_window "save"
    [ "$(cat "$work/meinDesign.ini" 2>/dev/null)" = "$default_record" ] ||
        e2e_fail "meinDesign.ini: $(ls "$work"; od -c "$work/meinDesign.ini" 2>/dev/null | head -n 3)"

    # Loaded again as meinDesign, after the background was made green.
    green=$(printf '%s\r\n' 0 0 0 "MS Sans Serif" 8 255 255 255 192 192 192 0 128 0)
    printf '%s' "$green" >"$work/meinDesign.ini"
    menu_item 8 # "Oberfläche laden..."
    dialog "Oberfläche öffnen..." load_dialog.png >/dev/null
    e2e_type "meinDesign"
    e2e_key Return
    e2e_wait_gone "$pid" "Oberfläche öffnen..." || e2e_fail "the load dialog did not close"
    only_main_window "load"
    background() {
        import -window "$win" "$E2E_TMP/window.png"
        [ "$(convert "$E2E_TMP/window.png" -format '%[hex:p{430,250}]' info:)" = 008000 ]
    }
    e2e_wait_for 10 background || e2e_fail "the design was not loaded"
    e2e_settled_screenshot "$E2E_ARTIFACTS/design_loaded.png"
    close_program
    [ "$(cat "$program/tavolin.ini")" = "$green" ] || e2e_fail "tavolin.ini: $(od -c "$program/tavolin.ini" | head)"
    ;;
font)
    # Pictures of the window over one and a half seconds: the caret in the
    # focused field blinks once a second, so both of its states are among them.
    window_pictures() {
        local i
        for i in 1 2 3 4 5 6; do
            import -window "$win" "$E2E_TMP/$1-$i.png"
            sleep 0.25
        done
    }
    # Whether some picture of the one set equals some picture of the other.
    same_window() {
        local a b
        for a in "$E2E_TMP/$1"-*.png; do
            for b in "$E2E_TMP/$2"-*.png; do
                [ "$(compare -metric AE "$a" "$b" null: 2>&1 || true)" = 0 ] && return 0
            done
        done
        return 1
    }
    # Opening the dialog at all gives up the bold fonts of some controls, so
    # the window after a cancelled dialog is what OK without a change must
    # leave.
    menu_item 1 # "Gesamtschrift auswählen..."
    # Its title is Qt's own (German: "Schriftart auswählen").
    font_dialog_shown() {
        font_dialog=$(e2e_windows "$pid" | awk -F '\t' -v m="$main_title" '$2 == "normal" && $4 != m { print $4; exit }')
        [ -n "$font_dialog" ]
    }
    e2e_wait_for 10 font_dialog_shown || e2e_fail "no font dialog"
    dialog "$font_dialog" font_dialog.png >/dev/null
    e2e_key Escape
    e2e_wait_gone "$pid" "$font_dialog" || e2e_fail "the font dialog did not close"
    only_main_window "cancel"
    sleep 0.5 # the last repaints after the dialog
    window_pictures cancelled
    menu_item 1
    dialog "$font_dialog" font_dialog_again.png >/dev/null
    e2e_key Return
    e2e_wait_gone "$pid" "$font_dialog" || e2e_fail "the font dialog did not close"
    only_main_window "OK"
    sleep 0.5
    window_pictures confirmed
    cp "$E2E_TMP/confirmed-1.png" "$E2E_ARTIFACTS/font_confirmed.png"
    same_window cancelled confirmed || e2e_fail "OK without a change changed the window (font_confirmed.png)"
    close_program
    [ "$(cat "$program/tavolin.ini")" = "$default_record" ] ||
        e2e_fail "tavolin.ini: $(od -c "$program/tavolin.ini" | head)"
    ;;
*)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac
echo "ok $scenario; screenshots in $E2E_ARTIFACTS"
