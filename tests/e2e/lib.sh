# Shared by the end-to-end scripts: a virtual X server at 96 dots per inch,
# optionally with a real window manager (openbox), and the means to use a
# program on it as a person would.
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_need_tools xclip ...        # skips (exit 77) when a tool is missing
#   e2e_start [--no-wm]             # X server (+ openbox); sets DISPLAY, E2E_TMP
#   "$program" & pid=$!; E2E_PIDS+=("$pid")
#   win=$(e2e_wait_window "$pid" "Exact title") || e2e_fail "no window"
#   e2e_click "$win" 20 30          # client coordinates of the window
#   e2e_type "text"                 # 120 ms per key
#   e2e_only_windows "$pid" "Exact title" || e2e_fail "stray window"
#   e2e_screenshot "$artifacts/view.png"
#   e2e_close "$win"                # WM_DELETE_WINDOW, as a window manager sends it
#   e2e_a11y_start; e2e_a11y_tree "$pid"   # what a screen reader sees
#   e2e_wine PREFIX; wine "$exe" & ...    # the Windows program under Wine
#   e2e_contrast shot.png <parts            # text contrast in a picture
#   e2e_start_headless; e2e_run "$exe" --name   # no screen: $E2E_OUT, $E2E_ERR, $E2E_RC
#
# Everything started here is ended on exit (trap), along with the pids in
# E2E_PIDS and the folder E2E_TMP. A script that sets its own EXIT trap calls
# e2e_stop from it.

# The main window's title, given by the build (CTest sets TAVOLIN_TITLE).
E2E_TITLE=${TAVOLIN_TITLE:?the title of the main window, from CTest}
E2E_PIDS=()
E2E_TMP=
E2E_ARTIFACTS=${E2E_ARTIFACTS:-}
_e2e_xvfb=
_e2e_wm=
_e2e_bus=
_e2e_wine=

e2e_need_tools() {
    local tool
    for tool in Xvfb xdotool import python3 "$@"; do
        command -v "$tool" >/dev/null || e2e_skip "$tool is needed (scripts/test installs it)"
    done
}

# Skips the scenario (exit 77), except in CI, where scripts/test has installed
# everything a scenario needs: there a skip is a failure.
e2e_skip() {
    echo "$1"
    [ "${CI:-}" = true ] && exit 1
    exit 77
}

# Prints the failure, keeps a picture of the screen (in E2E_ARTIFACTS, if set)
# and ends the script.
e2e_fail() {
    echo "FAIL: $*"
    if [ -n "${DISPLAY:-}" ] && [ -n "$E2E_ARTIFACTS" ]; then
        mkdir -p "$E2E_ARTIFACTS"
        import -window root "$E2E_ARTIFACTS/failure-$(basename "$0" .sh).png" 2>/dev/null || true
    fi
    exit 1
}

# Runs the command until it succeeds, for at most the given seconds.
e2e_wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

e2e_stop() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    # A program ended by SIGTERM still saves its files; let it finish before
    # its folder goes, and stop one that hangs.
    local deadline=$((SECONDS + 10))
    for pid in "${E2E_PIDS[@]}"; do
        while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    done
    E2E_PIDS=()
    [ -n "$_e2e_bus" ] && kill "$_e2e_bus" 2>/dev/null
    _e2e_bus=
    # Wine's server and its session processes, once the programs are gone.
    [ -n "$_e2e_wine" ] && wine_env_stop
    _e2e_wine=
    [ -n "$_e2e_wm" ] && kill "$_e2e_wm" 2>/dev/null
    [ -n "$_e2e_xvfb" ] && kill "$_e2e_xvfb" 2>/dev/null
    _e2e_wm=
    _e2e_xvfb=
    [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
    E2E_TMP=
    return 0
}

# For the command line, which needs no screen: no X server, no display of
# the caller's; E2E_TMP and the folder for kept names as e2e_start sets them.
e2e_start_headless() {
    E2E_TMP=$(mktemp -d)
    trap e2e_stop EXIT
    export XDG_STATE_HOME=$E2E_TMP/state
    unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
}

# Runs the program with the arguments: standard output in $E2E_OUT, standard
# error in $E2E_ERR, the exit code in $E2E_RC.
e2e_run() {
    E2E_RC=0
    "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/err" || E2E_RC=$?
    E2E_OUT=$(cat "$E2E_TMP/out")
    E2E_ERR=$(cat "$E2E_TMP/err")
}

# Starts a fresh X server (1024x768 or E2E_SCREEN, 96 dpi) on a display it picks itself, so
# parallel runs never collide, and openbox on it unless --no-wm is given.
# Programs started afterwards use it: DISPLAY is exported and Qt is told to
# use X11 whatever the caller's environment says.
e2e_start() {
    local wm=1
    [ "${1:-}" = --no-wm ] && wm=0
    E2E_TMP=$(mktemp -d)
    trap e2e_stop EXIT
    _e2e_start_x "$wm"
    export QT_QPA_PLATFORM=xcb
    # Names the program keeps for later go to a folder of the test's own.
    export XDG_STATE_HOME=$E2E_TMP/state
    unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_FONT_DPI
}

_e2e_start_x() {
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1024x768}x24" -dpi 96 -nolisten tcp 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    _e2e_xvfb=$!
    e2e_wait_for 30 grep -qs . "$E2E_TMP/display" || e2e_fail "the X server did not start: $(cat "$E2E_TMP/xvfb.log")"
    export DISPLAY=:$(head -n 1 "$E2E_TMP/display")
    if (($1)); then
        command -v openbox >/dev/null || e2e_skip "openbox is needed (scripts/test installs it)"
        openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
        _e2e_wm=$!
        e2e_wait_for 30 e2e_x wm-ready || e2e_fail "openbox did not start: $(cat "$E2E_TMP/openbox.log")"
    fi
}

# Ends the X server (programs on it lose their connection) and starts a new
# one with openbox.
e2e_restart_x() {
    kill "$_e2e_wm" "$_e2e_xvfb" 2>/dev/null || true
    wait "$_e2e_wm" "$_e2e_xvfb" 2>/dev/null || true
    : >"$E2E_TMP/display"
    _e2e_start_x 1
}

# The X helper below: wm-ready | windows PID | translate WIN X Y | close WIN |
# icon WIN (whether the window has an icon) | frame WIN (X Y WIDTH HEIGHT of
# the window with its frame) | dock HEIGHT (a panel along the bottom edge
# until killed: e2e_dock).
e2e_x() {
    python3 -c "$_e2e_xhelper" "$@"
}

# Puts a panel of that height along the bottom edge until the test ends.
e2e_dock() {
    (exec python3 -c "$_e2e_xhelper" dock "$1") &
    E2E_PIDS+=($!)
}

# The visible windows of a process, one a line:
#   ID <TAB> normal|popup <TAB> WIDTHxHEIGHT+X+Y <TAB> TITLE
# "popup" is an override-redirect window (menu, completion list, tooltip),
# which no window manager frames and which takes the next click.
e2e_windows() {
    e2e_x windows "$1"
}

# Waits until the process shows a window with exactly this title (UTF-8, any
# letters) and prints its id.
e2e_wait_window() {
    local pid=$1 title=$2 seconds=${3:-30} deadline id
    deadline=$((SECONDS + seconds))
    while ((SECONDS < deadline)); do
        id=$(e2e_windows "$pid" | awk -F '\t' -v t="$title" '$4 == t { print $1; exit }')
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

_e2e_has_no_window() {
    ! e2e_windows "$1" | awk -F '\t' -v t="$2" '$4 == t { found = 1 } END { exit !found }'
}

# Waits until no visible window of the process has this title.
e2e_wait_gone() {
    e2e_wait_for "${3:-30}" _e2e_has_no_window "$1" "$2"
}

# Succeeds when the visible windows of the process are exactly the ones with
# these titles (one each, no popup); otherwise prints what is there.
e2e_only_windows() {
    local pid=$1 expected actual
    shift
    expected=$(printf 'normal\t%s\n' "$@" | sort)
    actual=$(e2e_windows "$pid" | cut -f 2,4 | sort)
    [ "$actual" = "$expected" ] && return 0
    echo "visible windows of $pid:" >&2
    e2e_windows "$pid" >&2
    return 1
}

# Clicks at client coordinates of a window. Under a window manager the window
# sits inside a frame, so its place on the screen is asked of the X server.
e2e_click() {
    local win=$1 x=$2 y=$3 button=${4:-1} at
    at=$(e2e_x translate "$win" "$x" "$y") || e2e_fail "window $win is gone"
    e2e_pointer_to $at
    xdotool click "$button"
}

# Moves the pointer to root coordinates and waits until it is there
# (`mousemove --sync` to where the pointer already is would wait forever).
e2e_pointer_to() {
    local x=$1 y=$2
    eval "$(xdotool getmouselocation --shell)"
    if [ "$X" != "$x" ] || [ "$Y" != "$y" ]; then
        xdotool mousemove --sync "$x" "$y"
    fi
}

# Types text into the focused control at a human pace: 120 ms per key.
e2e_type() {
    xdotool type --delay "${E2E_TYPE_DELAY:-120}" -- "$1"
}

# Presses keys (xdotool names: Return, Escape, alt+f ...) on the focused window.
e2e_key() {
    xdotool key --delay 120 "$@"
}

# Gives a window the keyboard focus (needed without a window manager).
e2e_focus() {
    xdotool windowfocus --sync "$1"
}

# Asks a window to close, as a window manager does when its close button is
# clicked.
e2e_close() {
    e2e_x close "$1"
}

# A picture of the whole screen.
e2e_screenshot() {
    mkdir -p "$(dirname "$1")"
    import -window root "$1"
}

# Waits until two pictures of the screen in a row agree, then keeps the last:
# the screen after the last repaint.
e2e_settled_screenshot() {
    local file=$1 last=$E2E_TMP/settled.png _
    import -window root "$last"
    for _ in $(seq 50); do
        sleep 0.2
        e2e_screenshot "$file"
        [ "$(compare -metric AE "$last" "$file" null: 2>&1 || true)" = 0 ] && return 0
        mv "$file" "$last"
    done
    e2e_fail "the screen does not stop changing"
}

# The main window's controls, at client coordinates of its description.
# Types a name into Edit2 ("Neuer Wuzelname") in place of what it holds and
# clicks Button2 ("Hinzufügen").
e2e_add_name() {
    e2e_click "$1" 226 298
    e2e_key ctrl+a
    e2e_type "$2"
    e2e_click "$1" 226 348
}

# Loads a foreign database with Button5 ("Datei laden...") through the real
# open dialog, typing its path (relative to the program's working folder).
# No completion list of the dialog may stay behind.
e2e_load_database() {
    local pid=$1 win=$2
    e2e_click "$win" 52 412
    e2e_wait_window "$pid" "Wuzelnamen-Datenbank öffnen" >/dev/null || e2e_fail "no open dialog"
    e2e_type "$3"
    e2e_key Return
    e2e_wait_gone "$pid" "Wuzelnamen-Datenbank öffnen" || e2e_fail "the open dialog did not close"
    _e2e_no_popup() { ! e2e_windows "$pid" | cut -f 2 | grep -qx popup; }
    e2e_wait_for 5 _e2e_no_popup || e2e_fail "a popup of the open dialog stays"
}

# Opens the menu of an edit field with a right click at client coordinates
# and chooses the entry that many places above its end (1: the last one).
e2e_edit_menu() {
    local pid=$1 i
    e2e_click "$2" "$3" "$4" 3
    _e2e_popup() { e2e_windows "$pid" | cut -f 2 | grep -qx popup; }
    e2e_wait_for 10 _e2e_popup || e2e_fail "no menu at $3,$4"
    for ((i = 0; i < $5; i++)); do e2e_key Up; done
    e2e_key Return
}

# Clicks Button6 ("Verschmelze!").
e2e_merge() {
    e2e_click "$1" 268 476
}

# Waits for the process's box with this title, answers it with a key (Return
# unless given) and waits until it is gone.
e2e_answer() {
    local pid=$1 title=$2
    e2e_wait_window "$pid" "$title" >/dev/null || e2e_fail "no box titled '$title'"
    e2e_key "${3:-Return}"
    e2e_wait_gone "$pid" "$title" || e2e_fail "the box '$title' stays"
}

# Waits until the process (a child of the script) has ended; its exit code
# is then in E2E_RC.
e2e_wait_exit() {
    local pid=$1
    _e2e_ended() { ! kill -0 "$pid" 2>/dev/null; }
    e2e_wait_for "${2:-30}" _e2e_ended || e2e_fail "process $pid is still running"
    E2E_RC=0
    wait "$pid" || E2E_RC=$?
}
# Runs Windows programs under Wine from now on, in the prefix PREFIX (made
# once, then reused; scripts/wine-env), on this script's X server.
e2e_wine() {
    command -v wine >/dev/null || e2e_skip "wine is needed (scripts/windows installs it)"
    # shellcheck source=../../scripts/wine-env
    source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env" "$1" || e2e_fail "no Wine prefix in $1"
    _e2e_wine=1
    unset QT_QPA_PLATFORM
}

# A session bus of its own, where the accessibility bus starts when first
# asked for; programs started afterwards publish their tree there.
e2e_a11y_start() {
    dbus-daemon --session --fork --nopidfile --print-address=3 --print-pid=4 3>"$E2E_TMP/bus" 4>"$E2E_TMP/bus.pid" ||
        e2e_fail "no session bus"
    _e2e_bus=$(cat "$E2E_TMP/bus.pid")
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_TMP/bus") QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# What a screen reader sees of a process, one object a line, parents first:
#   DEPTH <TAB> ROLE <TAB> NAME <TAB> STATES <TAB> X,Y,W,H (on screen) <TAB> TEXT
# STATES: s showing, f focusable, F focused. `e2e_a11y_tree PID press NAME`
# presses the showing button of that name instead. pyatspi and Pillow are
# Debian's, for Debian's Python, whatever python3 the PATH finds first.
e2e_a11y_tree() {
    /usr/bin/python3 -c "$_e2e_a11y" "$@"
}

read -r -d '' _e2e_a11y <<'PY' || true
import sys, time, pyatspi
pid, press = int(sys.argv[1]), sys.argv[3] if len(sys.argv) > 3 else None
for _ in range(150):  # it registers a while after its window shows; GTK adds an empty twin
    apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == pid and a.childCount]
    if apps:
        break
    time.sleep(0.2)
else:
    sys.exit(f"process {pid} has no accessibility tree")

def walk(node, depth):
    yield depth, node
    for child in filter(None, node):
        yield from walk(child, depth + 1)

for depth, node in walk(apps[0], 0):
    if not depth:
        continue
    states, role = node.getState(), node.getRoleName()
    if press:
        if node.name == press and role == "push button" and states.contains(pyatspi.STATE_SHOWING):
            sys.exit(node.queryAction().doAction(0) and 0)
        continue
    flags = "".join(f for f, s in (("s", pyatspi.STATE_SHOWING), ("f", pyatspi.STATE_FOCUSABLE),
                                   ("F", pyatspi.STATE_FOCUSED)) if states.contains(s))
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    try:
        text = node.queryText().getText(0, 200).replace("\n", " ")
    except NotImplementedError:
        text = ""
    print(f"{depth}\t{role}\t{node.name}\t{flags}\t{box.x},{box.y},{box.width},{box.height}\t{text}")
sys.exit(press and f"no showing button named {press}")
PY

# For lines "X Y W H LABEL" on standard input, parts of a picture: the text
# contrast as WCAG computes it (the most frequent colour is the background,
# the farthest the text), and "cut" when text (2:1 from the background)
# touches the part's border, else "fits": "RATIO EDGE LABEL".
e2e_contrast() {
    /usr/bin/python3 -c "$_e2e_contrast" "$@"
}

read -r -d '' _e2e_contrast <<'PY' || true
import sys
from PIL import Image

def luminance(rgb):
    c = [v / 255 / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4 for v in rgb]
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]

def ratio(a, b):
    return (max(luminance(a), luminance(b)) + 0.05) / (min(luminance(a), luminance(b)) + 0.05)

picture = Image.open(sys.argv[1]).convert("RGB")
for line in sys.stdin:
    x, y, w, h, label = line.rstrip("\n").split(" ", 4)
    part = picture.crop((int(x), int(y), int(x) + int(w), int(y) + int(h)))
    colors = part.getcolors(part.width * part.height)
    back = max(colors)[1]
    edge = [(i, j) for i in range(part.width) for j in range(part.height)
            if i in (0, part.width - 1) or j in (0, part.height - 1)]
    cut = any(ratio(back, part.getpixel(p)) >= 2 for p in edge)
    print(f"{max(ratio(back, c) for _, c in colors):.2f} {'cut' if cut else 'fits'} {label}")
PY

# Xlib through ctypes: window titles in UTF-8 (xdotool's search does not match
# non-ASCII titles), override-redirect popups, positions inside window manager
# frames and the close request.
read -r -d '' _e2e_xhelper <<'PY' || true
import ctypes, signal, sys

x11 = ctypes.CDLL("libX11.so.6")
Window = ctypes.c_ulong
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                           ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XGetWindowProperty.argtypes = [
    ctypes.c_void_p, Window, ctypes.c_ulong, ctypes.c_long, ctypes.c_long, ctypes.c_int, ctypes.c_ulong,
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                      ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(Window)]
x11.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XSetErrorHandler.argtypes = [ctypes.c_void_p]


class Attributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", Window), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


x11.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Attributes)]

# A window may vanish while it is looked at; that is no error here.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
x11.XSetErrorHandler(ctypes.cast(ERROR_HANDLER, ctypes.c_void_p))
root = x11.XDefaultRootWindow(display)


def atom(name):
    return x11.XInternAtom(display, name.encode(), 0)


def prop(window, name, kind=0):
    actual, fmt, count, after = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
    data = ctypes.c_void_p()
    if x11.XGetWindowProperty(display, window, atom(name), 0, 65536, 0, kind, ctypes.byref(actual),
                              ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                              ctypes.byref(data)) != 0 or not data.value:
        return None
    try:
        if fmt.value == 8:
            return ctypes.string_at(data.value, count.value)
        if fmt.value == 32:
            return list((ctypes.c_ulong * count.value).from_address(data.value))
        return None
    finally:
        x11.XFree(data)


def children(window):
    root_ret, parent, kids, count = Window(), Window(), ctypes.POINTER(Window)(), ctypes.c_uint()
    if not x11.XQueryTree(display, window, ctypes.byref(root_ret), ctypes.byref(parent), ctypes.byref(kids),
                          ctypes.byref(count)):
        return []
    found = [kids[i] for i in range(count.value)]
    if kids:
        x11.XFree(kids)
    return found


def translate(window, x, y):
    rx, ry, child = ctypes.c_int(), ctypes.c_int(), Window()
    if not x11.XTranslateCoordinates(display, window, root, x, y, ctypes.byref(rx), ctypes.byref(ry),
                                     ctypes.byref(child)):
        return None
    return rx.value, ry.value


def windows(pid):
    pending = children(root)
    while pending:
        window = pending.pop()
        pending.extend(children(window))
        owner = prop(window, "_NET_WM_PID")
        if not owner or owner[0] != pid:
            continue
        attributes = Attributes()
        if not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
            continue
        if attributes.map_state != 2:  # IsViewable: it and all its ancestors are mapped
            continue
        title = prop(window, "_NET_WM_NAME") or prop(window, "WM_NAME") or b""
        at = translate(window, 0, 0)
        if at is None:  # gone since its attributes were read
            continue
        x, y = at
        kind = "popup" if attributes.override_redirect else "normal"
        print(f"{window}\t{kind}\t{attributes.width}x{attributes.height}+{x}+{y}\t"
              f"{title.decode('utf-8', 'replace')}")


def close(window):
    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                    ("display", ctypes.c_void_p), ("window", Window), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    event = Event()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = atom("WM_PROTOCOLS")
    event.xclient.format = 32
    event.xclient.data[0] = atom("WM_DELETE_WINDOW")
    event.xclient.data[1] = 0  # CurrentTime
    x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))


def frame(window):
    attributes = Attributes()
    at = translate(window, 0, 0)
    if at is None or not x11.XGetWindowAttributes(display, window, ctypes.byref(attributes)):
        sys.exit(1)
    left, right, top, bottom = prop(window, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
    print(at[0] - left, at[1] - top, attributes.width + left + right, attributes.height + top + bottom)


# A panel along the bottom edge, as a desktop's task bar, until killed.
def dock(height):
    x11.XCreateSimpleWindow.restype = Window
    x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window] + [ctypes.c_int] * 4 + [ctypes.c_uint] + \
        [ctypes.c_ulong] * 2
    x11.XChangeProperty.argtypes = [ctypes.c_void_p, Window, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                    ctypes.c_int, ctypes.c_void_p, ctypes.c_int]
    x11.XMapWindow.argtypes = [ctypes.c_void_p, Window]
    x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    width, full = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    panel = x11.XCreateSimpleWindow(display, root, 0, full - height, width, height, 0, 0, 0)

    def cardinals(name, kind, values):
        data = (ctypes.c_long * len(values))(*values)
        x11.XChangeProperty(display, panel, atom(name), kind, 32, 0, data, len(values))

    cardinals("_NET_WM_WINDOW_TYPE", 4, [atom("_NET_WM_WINDOW_TYPE_DOCK")])
    cardinals("_NET_WM_STRUT", 6, [0, 0, 0, height])
    cardinals("_NET_WM_STRUT_PARTIAL", 6, [0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1])
    x11.XMapWindow(display, panel)
    x11.XSync(display, 0)
    signal.pause()


command = sys.argv[1]
if command == "wm-ready":
    check = prop(root, "_NET_SUPPORTING_WM_CHECK")
    sys.exit(0 if check and check[0] else 1)
elif command == "windows":
    windows(int(sys.argv[2]))
elif command == "translate":
    at = translate(int(sys.argv[2], 0), int(sys.argv[3]), int(sys.argv[4]))
    if at is None:
        sys.exit(1)
    print(*at)
elif command == "close":
    close(int(sys.argv[2], 0))
elif command == "frame":
    frame(int(sys.argv[2], 0))
elif command == "dock":
    dock(int(sys.argv[2]))
elif command == "icon":
    sys.exit(0 if prop(int(sys.argv[2], 0), "_NET_WM_ICON") else 1)
else:
    sys.exit(f"unknown command {command}")
x11.XSync(display, 0)
PY

# Types a name into Edit2 in place of what it holds and takes it out of its
# database with the field's menu ("Aus der Namen-Datenbank entfernen", 2 above
# its end; 1 while the undo below is disabled: the keys skip it), answering
# the question "Ja".
e2e_remove_name() {
    e2e_click "$2" 226 298
    e2e_key ctrl+a
    e2e_type "$3"
    e2e_edit_menu "$1" "$2" 226 298 "${4:-2}"
    e2e_answer "$1" "Name entfernen" alt+j
}
