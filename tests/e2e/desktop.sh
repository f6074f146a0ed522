#!/usr/bin/env bash
# The real program on players' desktops, seen on screen and through the
# accessibility tree (which also gives each control's place):
#   gtk, qt6ct, light  dark themes and Qt's own: all text at 4.5:1 in every view,
#               at the first start and after tavolin.ini was written; the
#               colour dialog is Qt's
#   keyboard    keys only: add, draw, copy, the views by Return, Tab, Escape
#   fonts       no caption cut with Liberation Sans, DejaVu Sans, 14 points
#   wayland     weston's headless backend: start, draw, copy, a dialog
#   screens     the window inside small screens, every button of the bottom
#               row clicked: 1024x768 with 14 points (a panel coming later),
#               1366x768 with Qt's scale factor 1.5
# Usage: desktop.sh SCENARIO TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
scenario=$1
exe=$2
data=$3
E2E_ARTIFACTS=$4/desktop_$scenario
source "$(dirname "$0")/lib.sh"
e2e_need_tools xclip dbus-daemon weston
[ "$scenario" = fonts ] && E2E_SCREEN=1280x1024
[ "$scenario" = screens ] && E2E_SCREEN=1024x768
e2e_start
e2e_a11y_start
title=$E2E_TITLE
program=$E2E_TMP/program
mkdir -p "$program" "$E2E_ARTIFACTS"
cp "$exe" "$program/tavolin"
cp "$data/fnames.dat" "$data/mnames.dat" "$program/"

start() {
    (cd "$E2E_TMP" && exec env "$@" "$program/tavolin") & pid=$! && E2E_PIDS+=("$pid")
    win=$(e2e_wait_window "$pid" "$title" 60) || e2e_fail "no window"
}
tree() { e2e_a11y_tree "$pid" >"$E2E_TMP/tree" || e2e_fail "no accessibility tree"; }
# The showing object named so (of that role, if given); "click" clicks its middle.
# Qt 6.4 gives a screen reader the places without its scale factor.
a11y_scale=1
has() { tree && awk -F '\t' -v n="$1" '$3 == n && $4 ~ /s/ { f = 1 } END { exit !f }' "$E2E_TMP/tree"; }
click() {
    local at
    tree
    at=$(awk -F '\t' -v n="$1" -v r="${2:-}" -v s="$a11y_scale" '$3 == n && $4 ~ /s/ && (r == "" || $2 == r) {
        split($5, b, ","); print int(s * (b[1] + b[3] / 2)), int(s * (b[2] + b[4] / 2)); exit }' "$E2E_TMP/tree")
    [ -n "$at" ] || e2e_fail "nothing named '$1' shows"
    e2e_pointer_to $at && xdotool click 1
}
focused() { tree && awk -F '\t' '$1 == 2 && $4 ~ /F/ { print $3 }' "$E2E_TMP/tree"; }
drawn() { tree && awk -F '\t' '$3 == "Zufälliger Name" { print $6 }' "$E2E_TMP/tree"; }
# Presses the key until the focus is on the control named so.
focus_by() { for _ in $(seq 12); do [ "$(focused)" = "$2" ] && return; e2e_key "$1"; done; e2e_fail "$1 never reached $2"; }
# What Tab can reach: the showing focusable controls of the window.
reachable() { tree && awk -F '\t' '$1 == 2 && $4 ~ /s/ && $4 ~ /f/ { print $3 }' "$E2E_TMP/tree" | LC_ALL=C sort | paste -sd '|'; }
# Every showing text of the main window (an edit field's if it holds one) inside
# its frame, a radio button's without its circle, a group's title: its
# contrast, and whether a caption touches its control's edges.
check_view() {
    e2e_settled_screenshot "$E2E_ARTIFACTS/$1.png"
    tree
    awk -F '\t' '$1 == 1 { main = $2 == "frame" } main && $1 >= 2 && $4 ~ /s/ && ($3 != "" || $6 != "") && $2 !~ /filler|scroll|separator|item/ &&
        !($2 == "text" && $6 == "") {
        split($5, b, ","); x = b[1]; y = b[2]; w = b[3]; h = b[4]; i = ($2 == "label") ? 1 : 2
        if ($2 == "radio button") { x += 17; w -= 17; i = 0 } else if ($2 == "panel") { h = 13; i = 0 }
        print x + i, y + i, w - 2 * i, h - 2 * i, $2 ": " $3
    }' "$E2E_TMP/tree" | e2e_contrast "$E2E_ARTIFACTS/$1.png" | tee "$E2E_ARTIFACTS/$1.txt" |
        awk -v fit="$2" '$1 < 4.5 || (fit && $2 == "cut" && $0 ~ /(button|label): [^\/]/) { print; bad = 1 } END { exit bad }' ||
        e2e_fail "$1: text too faint or cut (above)"
}
# The window with its frame inside the screen less a panel of $1 px below.
inside_screen() {
    local x y w h
    read -r x y w h < <(e2e_x frame "$win") || return 1
    ((x >= 0 && y >= 0 && x + w <= ${E2E_SCREEN%x*} && y + h <= ${E2E_SCREEN#*x} - ${1:-0}))
}
# Clicks every button of the bottom rows and sees what each one opens.
click_bottom_rows() {
    cp "$data/mnames.dat" "$E2E_TMP/fremd.dat"
    click 'Datei laden...' && e2e_wait_window "$pid" 'Wuzelnamen-Datenbank öffnen' >/dev/null || e2e_fail "no dialog"
    e2e_type "$E2E_TMP/fremd.dat" && e2e_key Return
    e2e_wait_for 10 has 'Namen in der geladenen Datei: 1252 Namen in der geladenen Datenbank enthalten' || e2e_fail "not loaded"
    click 'Verschmelze!' && e2e_answer "$pid" Erfolgreich
    click 'Über das Programm und die Anleitung...' && e2e_wait_for 10 has Zurück || e2e_fail "no about view"
    click Zurück && click Statistiken && e2e_wait_for 10 has Schließen || e2e_fail "no statistics"
    click Schließen
}
# Closes by the window manager's close button or the keys given; exit code 0.
close_program() {
    [ $# = 0 ] && e2e_close "$win" || e2e_key "$@"
    local rc=0
    wait "$pid" || rc=$?
    [ $rc = 0 ] || e2e_fail "exit code $rc"
}

case $scenario in
gtk | qt6ct | light)
    printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\n' |
        install -D /dev/stdin "$E2E_TMP/config/qt6ct/qt6ct.conf"
    theme=(QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark)
    [ "$scenario" = qt6ct ] && theme=(QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$E2E_TMP/config")
    [ "$scenario" = light ] && theme=(QT_QPA_PLATFORMTHEME=)
    for run in first again; do
        start "${theme[@]}"
        click 'Neuer Wuzelname:' text && e2e_type Zora
        check_view "${run}_main" 1
        click Statistiken && check_view "${run}_statistics" ''
        click Schließen && click 'Über das Programm und die Anleitung...' && check_view "${run}_about" ''
        close_program
        [ -f "$program/tavolin.ini" ] || e2e_fail "no tavolin.ini written"
    done
    # The colour dialog is Qt's, whatever the theme would offer.
    start "${theme[@]}"
    e2e_click "$win" 440 250 3 && e2e_key Down Down Return
    qt_dialog() { tree && awk -F '\t' '$1 == 1 && $2 == "dialog" && $4 ~ /s/ { f = 1 } END { exit !f }' "$E2E_TMP/tree"; }
    e2e_wait_for 10 qt_dialog || e2e_fail "not Qt's colour dialog"
    e2e_settled_screenshot "$E2E_ARTIFACTS/color_dialog.png"
    e2e_key Escape
    e2e_wait_for 10 e2e_only_windows "$pid" "$title" || e2e_fail "the colour dialog stayed"
    ;;
keyboard)
    start
    e2e_x icon "$win" || e2e_fail "no window icon"
    tree && awk -F '\t' '$2 == "text" && $3 == "" || $1 == 2 && $2 == "filler" { print; f = 1 } END { exit f }' \
        "$E2E_TMP/tree" || e2e_fail "an unnamed field or filler"
    e2e_key Tab Tab && e2e_type Zyxwanda && e2e_key Tab Return # Edit2, then Button2
    e2e_wait_for 10 grep -q Zyxwanda "$program/fnames.dat" || e2e_fail "Return did not add the name"
    e2e_key alt+u alt+p # draw, copy
    e2e_wait_for 10 eval '[ "$(xclip -o -selection clipboard 2>/dev/null)" = "$(drawn)" ]' ||
        e2e_fail "Alt+U, Alt+P did not copy the drawn name"
    focus_by Tab Statistiken && e2e_key Return
    e2e_wait_for 10 has Schließen || e2e_fail "Return did not open the statistics"
    [ "$(reachable)" = 'Aktualisieren|Schließen|Statistiken|Zu den Namenlängen...' ] || e2e_fail "reachable: $(reachable)"
    has 'Zufälligen Namen erzeugen' && e2e_fail "a control under the statistics shows to a screen reader"
    for stop in Statistiken Aktualisieren 'Zu den Namenlängen...' Schließen; do
        e2e_key Tab && [ "$(focused)" = "$stop" ] || e2e_fail "Tab reached '$(focused)', not '$stop'"
    done
    name=$(drawn)
    e2e_key alt+u Escape # the accelerator reaches nothing under the view
    e2e_wait_for 10 has 'Über das Programm und die Anleitung...' || e2e_fail "Escape did not close the statistics"
    [ "$(drawn)" = "$name" ] || e2e_fail "Alt+U drew under the statistics"
    focus_by shift+Tab 'Über das Programm und die Anleitung...' && e2e_key Return
    e2e_wait_for 10 has Zurück || e2e_fail "Return did not open the about view"
    [ "$(reachable)" = 'Statistiken|Zurück|Über das Programm und die Anleitung' ] || e2e_fail "reachable: $(reachable)"
    e2e_settled_screenshot "$E2E_ARTIFACTS/about.png"
    e2e_key Escape
    e2e_wait_for 10 has 'Über das Programm...' || e2e_fail "Escape did not close the about view"
    close_program alt+F4
    ;;
fonts)
    cp "$data/mnames.dat" "$E2E_TMP/fremd.dat"
    for font in liberation dejavu 14pt; do
        printf '<fontconfig><dir>/usr/share/fonts/truetype/%s</dir><cachedir>%s</cachedir></fontconfig>' \
            "$([ $font = dejavu ] && echo dejavu || echo liberation2)" "$E2E_TMP/fc" >"$E2E_TMP/fonts.conf"
        printf '%s\r\n' 0 0 0 'MS Sans Serif' "$([ $font = 14pt ] && echo 14 || echo 8)" 255 255 255 192 192 192 192 192 192 \
            >"$program/tavolin.ini"
        start FONTCONFIG_FILE="$E2E_TMP/fonts.conf"
        click 'Datei laden...' && e2e_wait_window "$pid" 'Wuzelnamen-Datenbank öffnen' >/dev/null || e2e_fail "no dialog"
        e2e_type "$E2E_TMP/fremd.dat" && e2e_key Return
        e2e_wait_for 10 has 'Namen in der geladenen Datei: 1252 Namen in der geladenen Datenbank enthalten' || e2e_fail "not loaded"
        click 'Neuer Wuzelname:' text && e2e_type Anna
        check_view "$font" 1
        [ $font != liberation ] || e2e_windows "$pid" | grep -q $'\t452x542+' || e2e_fail "not the design size"
        close_program
    done
    ;;
screens)
    printf '%s\r\n' 0 0 0 'DejaVu Sans' 14 255 255 255 192 192 192 192 192 192 >"$program/tavolin.ini"
    start
    e2e_wait_for 10 inside_screen || e2e_fail "the window leaves the screen: $(e2e_x frame "$win")"
    e2e_dock 120
    e2e_wait_for 10 inside_screen 120 || e2e_fail "the window lies under the panel: $(e2e_x frame "$win")"
    click_bottom_rows
    check_view small_screen 1
    close_program
    grep -q '^14' "$program/tavolin.ini" || e2e_fail "the chosen font size was not kept"
    E2E_SCREEN=1366x768 && e2e_restart_x && rm "$program/tavolin.ini"
    start QT_SCALE_FACTOR=1.5 && a11y_scale=1.5
    e2e_wait_for 10 inside_screen || e2e_fail "the window leaves the screen at scale 1.5: $(e2e_x frame "$win")"
    click_bottom_rows
    close_program
    ;;
wayland)
    # No input device on the headless backend: the accessibility tree does
    # the clicking. Without a seat Qt's Wayland input method would crash a
    # focused field (Qt 6.4), and the clipboard takes nothing.
    export XDG_RUNTIME_DIR=$E2E_TMP/runtime WAYLAND_DISPLAY=tavolin-e2e
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --idle-time=0 \
        >"$E2E_TMP/weston.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait_for 30 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || e2e_fail "weston: $(cat "$E2E_TMP/weston.log")"
    (cd "$E2E_TMP" && exec env -u DISPLAY QT_QPA_PLATFORM=wayland QT_IM_MODULE=compose "$program/tavolin") &
    pid=$! && E2E_PIDS+=("$pid")
    e2e_wait_for 60 has "$title" || e2e_fail "no window on Wayland"
    name=$(drawn)
    for _ in 1 2 3 4 5; do e2e_a11y_tree "$pid" press 'Zufälligen Namen erzeugen' && [ "$(drawn)" != "$name" ] && break; done
    [ "$(drawn)" != "$name" ] || e2e_fail "no new name drawn"
    e2e_a11y_tree "$pid" press 'Name in Zwischenablage kopieren'
    e2e_a11y_tree "$pid" press 'Datei laden...'
    e2e_wait_for 10 has 'Wuzelnamen-Datenbank öffnen' || e2e_fail "no file dialog"
    e2e_a11y_tree "$pid" press Abbrechen
    e2e_wait_for 10 eval '! has "Wuzelnamen-Datenbank öffnen"' || e2e_fail "the dialog stayed"
    kill -0 "$pid" || e2e_fail "the program ended"
    grep -q 'wayland' "/proc/$pid/maps" || e2e_fail "not on Qt's Wayland plugin"
    ;;
*)
    echo "unknown scenario $scenario"
    exit 2
    ;;
esac
echo "ok $scenario; screenshots in $E2E_ARTIFACTS"
