#!/usr/bin/env bash
# Uses the real program as a person would, under a virtual X server at 96 dots
# per inch with real mouse and keyboard events: adds a new female name, draws
# it back by its beginning, copies it, opens the statistics and closes the
# window. Then checks byte for byte what the program wrote. Screenshots of the
# main view and of the statistics view are left in ARTIFACT_DIR.
# Usage: main_scenario.sh TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
exe=$1
data=$2
artifacts=$3
for tool in Xvfb xdotool xclip import compare python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is needed (scripts/test installs it)"
        exit 77
    fi
done

name=Zyxwanda   # in neither default database
beginning=Zyxw  # begins no other female name
decoy=Zyxwalter # a male name with the same beginning: drawn only if the gender choice is lost
title='^Tavolin 4\.4 by Zendrik$'

dir=$(mktemp -d)
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
rm -f "$artifacts/main_view.png" "$artifacts/statistics_view.png" "$artifacts/failure.png"

xvfb=
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$dir"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    # What the screen showed then, to look at.
    [ -n "${DISPLAY:-}" ] && import -window root "$artifacts/failure.png" 2>/dev/null
    exit 1
}

# Runs the command until it succeeds, for at most the given seconds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# The server picks a free display itself, so parallel runs never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$dir/x/display" 2>"$dir/x/log" &
xvfb=$!
wait_for 30 grep -q . "$dir/x/display" || fail "the X server did not start: $(cat "$dir/x/log")"
export DISPLAY=:$(head -n 1 "$dir/x/display")
unset QT_QPA_PLATFORM

"$program/tavolin" &
pid=$!
win=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" | head -n 1) || true
[ -n "$win" ] || fail "no window titled 'Tavolin 4.4 by Zendrik'"
geometry=$(xdotool getwindowgeometry "$win")
grep -q 'Position: 0,0 ' <<<"$geometry" || fail "the window is not at the top-left corner: $geometry"
xdotool windowfocus --sync "$win"

# Clicks at client coordinates of the window.
click() {
    xdotool mousemove --window "$win" --sync "$1" "$2" click 1
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
    fail "the window does not stop changing"
}

is_white() {
    import -window "$win" "$dir/x/pixel.png"
    [ "$(convert "$dir/x/pixel.png" -format "%[fx:p{$1,$2}.r == 1 && p{$1,$2}.g == 1 && p{$1,$2}.b == 1]" info:)" = 1 ]
}

# Add the name: Edit2 (156, 288, 140 x 21), then Button2 (107, 336, 239 x 25).
click 226 298
xdotool type --delay 40 "$name"
click 226 348
wait_for 30 file_equals "$program/fnames.dat" "$dir/fnames.expected" ||
    fail "fnames.dat does not end with the new name: $(tail -c 40 "$program/fnames.dat" | od -c)"

# Its beginning into Edit3 (177, 224, 97 x 21); "Weibliche Wuzels" is the
# first item of RadioGroup1 (261, 8), its circle at the item's left end.
click 225 234
xdotool type --delay 40 "$beginning"
click 276 32
# Button1 (29, 8, 226 x 25) draws, Button3 (29, 64, 226 x 17) copies. With
# "Egal" left selected, the decoy would come up now and then.
for draw in 1 2 3; do
    printf 'leer' | xclip -i -selection clipboard
    click 142 20
    click 142 72
    wait_for 30 clipboard_differs leer || fail "draw $draw: nothing was copied"
    [ "$(clipboard)" = "$name" ] || fail "draw $draw: the clipboard holds '$(clipboard)', not '$name'"
done
screenshot "$artifacts/main_view.png"

# Button7 (313, 512, 129 x 25) opens the statistics over the upper bands.
click 377 524
wait_for 30 is_white 5 300 || fail "the statistics view did not open"
screenshot "$artifacts/statistics_view.png"

# Close the window as a window manager would: WM_DELETE_WINDOW.
python3 - "$win" <<'EOF'
import ctypes, sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x11.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event))
x11.XSync(display, 0)
x11.XCloseDisplay(display)
EOF
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_for 30 ended || fail "the program is still running after its window was closed"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" = 0 ] || fail "exit code $rc"

# What the program wrote: the name at once, the look when the window closed.
cmp "$program/fnames.dat" "$dir/fnames.expected" || fail "fnames.dat"
cmp "$program/mnames.dat" "$dir/mnames.expected" || fail "mnames.dat changed"
cmp "$program/tavolin.ini" "$dir/tavolin.expected" || fail "tavolin.ini: $(od -c "$program/tavolin.ini" | head)"
files=$(cd "$program" && ls -A | tr '\n' ' ')
[ "$files" = "fnames.dat mnames.dat tavolin tavolin.ini " ] || fail "the program folder holds: $files"
echo "ok: added, drawn, copied and saved; screenshots in $artifacts"
