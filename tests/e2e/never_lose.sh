#!/usr/bin/env bash
# Every name the real program accepted reaches its database, whatever ends
# the program or stands in the way; one scenario per run: endings (signals,
# kill -9, a destroyed window, a dying X server, then the next start),
# lock_holder (another copy holds the lock on a slow disk), kill_sweep (an
# in-place merge killed at each of its writes), links (a second hard link, a
# same-size edit with its time put back, write protection), mixed (a foreign
# file of UTF-8 and Windows-1252 names), third (a kept name removed in another
# copy, an undo after a failed add, a removal of a name already gone, a killed
# save's leftover, what stands at the recovery file's path or holds its
# folder, plain UTF-8 lists, a removal in place killed at each of its writes).
# Usage: never_lose.sh SCENARIO TAVOLIN_EXECUTABLE DATA_DIR ARTIFACT_DIR
set -euo pipefail
scenario=$1
E2E_ARTIFACTS=$4
source "$(dirname "$0")/lib.sh"
e2e_need_tools chattr strace setpriv
e2e_start

title=$E2E_TITLE
program=$E2E_TMP/program
database=$program/fnames.dat
mkdir -p "$program"
cp "$2" "$program/tavolin"
cp "$3/fnames.dat" "$3/mnames.dat" "$program/"
cd "$program" # where the open dialog starts
trap 'chattr -i "$program" "$database" 2>/dev/null; e2e_stop' EXIT

# Starts the program behind the given command, if any: pid, then win.
launch() { "$@" "$program/tavolin" & pid=$! && E2E_PIDS+=("$pid"); }
shown() { win=$(e2e_wait_window "$pid" "$title") || e2e_fail "no window"; }
start() { launch "$@" && shown; }
traced() { grep -q '^TracerPid:[[:space:]]*[1-9]' "/proc/$pid/status"; }
# The names of a file, a line each (grep reads to the end: with -q it would
# stop early and fail the pipe).
names() { tr '\263' '\n' <"$1" | tr -d '\r'; }
has() { names "$database" | grep -xF "$1" >/dev/null; }
kept() { cat "$XDG_STATE_HOME"/tavolin/*.recovery 2>/dev/null | tr '\263' '\n' | tr -d '\r' | grep -xF "$1" >/dev/null; }
# In the file, and the save is over once its lock is gone.
saved() { has "$1" && [ ! -e "$database.lock" ]; }
add() { e2e_add_name "$win" "$1" && e2e_wait_for 10 saved "$1" || e2e_fail "$1 did not reach the database"; }
closes() {
    e2e_close "$win"
    [ -z "${1:-}" ] || e2e_answer "$pid" "Namen nicht gespeichert" "$1"
    e2e_wait_exit "$pid"
    [ "$E2E_RC" = 0 ] || e2e_fail "exit code $E2E_RC"
}
# The next start writes what was kept, says so, and keeps nothing.
recovered() {
    launch
    e2e_answer "$pid" "Namen nachgetragen"
    shown
    for name in "$@"; do has "$name" || e2e_fail "$name is not in the database"; done
    ! ls "$XDG_STATE_HOME"/tavolin/*.recovery 2>/dev/null || e2e_fail "a recovery file is left"
    closes
}

case $scenario in
endings)
    chattr +i "$database" # cannot be written
    for ending in TERM HUP KILL windowclose X; do
        launch
        [ "$ending" = TERM ] || e2e_answer "$pid" Fehler # the kept names still cannot be written
        shown
        e2e_add_name "$win" "Zyx$ending"
        e2e_answer "$pid" "Tavolin 4.2"
        kept "Zyx$ending" || e2e_fail "Zyx$ending is not kept"
        case $ending in
        windowclose) xdotool windowclose "$win" && e2e_answer "$pid" "Namen nicht gespeichert" alt+j ;;
        X) e2e_restart_x ;;
        *) kill -s "$ending" "$pid" ;;
        esac
        e2e_wait_exit "$pid"
        [[ $ending =~ KILL|X ]] || [ "$E2E_RC" = 0 ] || e2e_fail "$ending: exit code $E2E_RC"
    done
    chattr -i "$database"
    recovered ZyxTERM ZyxHUP ZyxKILL Zyxwindowclose ZyxX
    ;;
lock_holder)
    start
    holder=$pid holder_win=$win
    strace -o /dev/null -f -e trace=fsync -e inject=fsync:delay_enter=20s:when=1 -p "$pid" 2>/dev/null &
    e2e_wait_for 10 traced || e2e_fail "strace did not attach"
    e2e_add_name "$win" Zyxholder # its save waits 20 s for the disk, holding the lock
    e2e_wait_for 10 test -e "$database.lock" || e2e_fail "the first copy took no lock"
    start
    e2e_add_name "$win" Zyxwaiter
    e2e_answer "$pid" "Tavolin 4.2" # locked
    kept Zyxwaiter || e2e_fail "the waiting name is not kept"
    kill -KILL "$pid"
    e2e_wait_exit "$pid"
    e2e_wait_for 40 has Zyxholder || e2e_fail "the holding copy did not save"
    pid=$holder win=$holder_win
    closes
    recovered Zyxholder Zyxwaiter
    ;;
kill_sweep)
    # A UTF-8 database with LF breaks in a folder that takes no new file
    # once the program runs (at start-up it would choose the user's folder).
    python3 -c 'open("fnames.dat", "w").write("".join(f"Zoë{i}³\n" for i in range(12000)))'
    python3 -c 'open("fremd.dat", "wb").write("".join(f"Neu{i}³\r\n" for i in range(40000)).encode("cp1252"))'
    cp "$database" "$E2E_TMP/original"
    size=$(stat -c %s "$database")
    for n in $(seq 20); do
        chattr -i "$program"
        cat "$E2E_TMP/original" >"$database" # the same inode, as it was
        start
        chattr +i "$program"
        strace -o /dev/null -f -e trace=pwrite64 -e inject=pwrite64:signal=SIGKILL:when="$n" -p "$pid" 2>/dev/null &
        tracer=$!
        e2e_wait_for 10 traced || e2e_fail "strace did not attach"
        e2e_load_database "$pid" "$win" fremd.dat
        e2e_merge "$win"
        e2e_wait_for 30 eval '! kill -0 "$pid" 2>/dev/null || e2e_wait_window "$pid" Erfolgreich 1 >/dev/null' ||
            e2e_fail "write $n: neither killed nor done"
        cmp -n "$size" "$E2E_TMP/original" "$database" || e2e_fail "write $n: an old byte changed"
        kill -0 "$pid" 2>/dev/null && break
        e2e_wait_exit "$pid"
    done
    e2e_answer "$pid" Erfolgreich
    kill "$tracer" && chattr -i "$program" # the close writes tavolin.ini
    closes
    ((n > 4)) || e2e_fail "only $((n - 1)) writes were swept"
    tail -c +$((size + 1)) "$database" | python3 -c 'import sys
assert sys.stdin.buffer.read().decode() == "".join(f"Neu{i}³\n" for i in range(40000))' ||
        e2e_fail "the merged names are not UTF-8 with LF"
    echo "swept $((n - 1)) killed writes"
    ;;
links)
    start setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search,-fowner # the mode bits hold
    add Zyxfirst
    cp -p "$database" "$E2E_TMP/times"
    first=$(names "$database" | sed -n 1p)
    printf 'Q' | dd of="$database" conv=notrunc status=none
    touch -r "$E2E_TMP/times" "$database"
    add Zyxctime
    has "Q${first:1}" && ! has "$first" || e2e_fail "the edit of $first was overwritten"
    ln "$database" "$E2E_TMP/backup.dat"
    add Zyxlink
    cmp "$database" "$E2E_TMP/backup.dat" || e2e_fail "the other link lost the name"
    chmod 444 "$database"
    cp "$database" "$E2E_TMP/protected"
    e2e_add_name "$win" Zyxprotect
    e2e_answer "$pid" "Tavolin 4.2"
    cmp "$database" "$E2E_TMP/protected" && [ "$(stat -c %a "$database")" = 444 ] ||
        e2e_fail "the write-protected database was written"
    kept Zyxprotect || e2e_fail "Zyxprotect is not kept"
    closes alt+j
    ;;
mixed)
    printf 'Zo\303\253\302\263\r\nJ\303\274rgen\302\263\r\nRen\351e\263\r\nAnna\302\263\r\n' >gemischt.dat
    start
    e2e_load_database "$pid" "$win" gemischt.dat
    e2e_merge "$win"
    e2e_answer "$pid" Erfolgreich
    closes
    for name in $'Zo\353' $'J\374rgen' $'Ren\351e'; do has "$name" || e2e_fail "$name was not merged whole"; done
    ! grep -q $'\302' "$database" || e2e_fail "a name took an 'Â'"
    ;;
third)
    unwritable() { chattr +i "$database" && e2e_add_name "$win" "$1" && e2e_answer "$pid" "Tavolin 4.2" && chattr -i "$database"; }
    gone() { ! has "$1" || e2e_fail "$1 is in the database"; }
    # A kept name that a second copy wrote and the player removed there stays
    # out when the first copy saves again.
    start
    first=$pid first_win=$win
    unwritable Zyxa
    kept Zyxa || e2e_fail "Zyxa is not kept"
    launch
    e2e_answer "$pid" "Namen nachgetragen"
    shown
    has Zyxa || e2e_fail "the second copy did not write Zyxa"
    e2e_remove_name "$pid" "$win" Zyxa 1
    e2e_wait_for 10 eval '! has Zyxa' || e2e_fail "Zyxa was not removed"
    closes
    pid=$first win=$first_win
    add Zyxb
    gone Zyxa
    # The undo after a failed add takes back that add, not the saved one before.
    unwritable Zyxfail
    e2e_edit_menu "$pid" "$win" 226 298 1 # "Letzte Namensänderung rückgängig"
    e2e_wait_for 10 eval '! kept Zyxfail' || e2e_fail "the undone Zyxfail is still kept"
    closes
    has Zyxb || e2e_fail "the undo took Zyxb"
    gone Zyxa && gone Zyxfail
    # A removal of a name another program took out keeps what was kept.
    start
    unwritable Zyxkeep
    rec=$(echo "$XDG_STATE_HOME"/tavolin/*.recovery)
    taken=$(names "$database" | sed -n 1p)
    tail -c +$((${#taken} + 4)) "$database" >fnames.neu && mv fnames.neu "$database"
    e2e_remove_name "$pid" "$win" "$taken"
    e2e_answer "$pid" "Nicht vorhanden"
    has Zyxkeep || kept Zyxkeep || e2e_fail "Zyxkeep is neither saved nor kept"
    ! has Zyxkeep || e2e_answer "$pid" "Namen nachgetragen"
    # The next save takes away a killed save's new file.
    cp "$database" .fnames.dat.tavolin-abc12.tmp && touch -d '1 hour ago' .fnames.dat.tavolin-abc12.tmp
    add Zyxtemp
    [ ! -e .fnames.dat.tavolin-abc12.tmp ] || e2e_fail "a killed save's file is left"
    [ ! -e "$rec" ] || e2e_fail "the recovery file stays after its names were saved"
    # What stands at the recovery file's path is set aside, and told once.
    for block in mkdir 'truncate -s 5G'; do
        rm -rf "$rec.beiseite" && $block "$rec"
        e2e_add_name "$win" "Zyx${block%% *}"
        e2e_answer "$pid" Wiederherstellungsdatei
        e2e_wait_for 10 saved "Zyx${block%% *}" || e2e_fail "$block: the name did not reach the database"
        ! e2e_wait_window "$pid" Wiederherstellungsdatei 2 >/dev/null || e2e_fail "$block: the box shows again"
        [[ -e $rec.beiseite && ! -e $rec ]] || e2e_fail "$block: not set aside"
    done
    # Plain UTF-8 lists, one with a byte-order mark, become Windows-1252.
    printf 'Ram\303\263n\nZ\303\263fia\n' >plain.dat
    printf '\357\273\277J\303\263zsa\nZo\303\253la\n' >bom.dat
    for list in plain bom; do
        e2e_load_database "$pid" "$win" $list.dat
        e2e_merge "$win"
        e2e_answer "$pid" Erfolgreich
    done
    for name in $'Ram\363n' $'Z\363fia' $'J\363zsa' $'Zo\353la'; do has "$name" || e2e_fail "$name was not merged whole"; done
    ! grep -q -e $'\303' -e $'\357\273\277' "$database" || e2e_fail "a name took UTF-8 bytes"
    # A link at its path is never followed; a new file keeps the name.
    echo Zyxziel >"$E2E_TMP/target" && cp "$E2E_TMP/target" "$E2E_TMP/target.orig"
    rm -f "$rec.beiseite" && ln -s "$E2E_TMP/target" "$rec"
    unwritable Zyxlink
    e2e_answer "$pid" Wiederherstellungsdatei
    cmp "$E2E_TMP/target" "$E2E_TMP/target.orig" || e2e_fail "the link's target was written"
    kept Zyxlink || e2e_fail "Zyxlink is not kept"
    closes
    has Zyxlink || e2e_fail "Zyxlink is not in the database"
    # A state folder of another user is not used, nor a link in it.
    shared=$E2E_TMP/shared
    mkdir -m 1777 "$shared" && mkdir -m 0777 "$shared/tavolin" && chown 12345 "$shared/tavolin"
    ln -s "$E2E_TMP/target" "$shared/tavolin/${rec##*/}"
    launch env XDG_STATE_HOME="$shared"
    e2e_answer "$pid" Wiederherstellungsdatei
    shown
    unwritable Zyxfremd
    cmp "$E2E_TMP/target" "$E2E_TMP/target.orig" || e2e_fail "the link's target in the shared folder was written"
    [ "$(ls -A "$shared/tavolin")" = "${rec##*/}" ] || e2e_fail "the other user's folder was written to"
    closes
    # A removal in place killed at each of its writes leaves every other name
    # whole; the file is more than one write long.
    python3 -c 'open("fnames.dat", "ab").write(b"".join(b"Zyxn%d\xb3\r\n" % i for i in range(9000)))'
    ln "$database" "$E2E_TMP/backup.dat" && cp "$database" "$E2E_TMP/original"
    victim=$(names "$database" | grep -av '^$' | sed -n 500p)
    others() { names "$database" | grep -av '^$' | grep -avxF "$victim"; }
    others >"$E2E_TMP/others"
    for n in 1 2 3 4; do
        cat "$E2E_TMP/original" >"$database"
        start
        strace -o /dev/null -f -e trace=pwrite64 -e inject=pwrite64:signal=SIGKILL:when="$n" -p "$pid" 2>/dev/null &
        tracer=$!
        e2e_wait_for 10 traced || e2e_fail "strace did not attach"
        e2e_remove_name "$pid" "$win" "$victim" 1
        e2e_wait_for 30 eval '! kill -0 "$pid" 2>/dev/null || ! has "$victim"' || e2e_fail "write $n: neither killed nor done"
        others | cmp -s "$E2E_TMP/others" - || e2e_fail "write $n: other names changed: $(others | diff "$E2E_TMP/others" - | head -5)"
        kill -0 "$pid" 2>/dev/null && break
        e2e_wait_exit "$pid"
    done
    kill -0 "$pid" 2>/dev/null || e2e_fail "the removal was killed at each of $n writes"
    kill "$tracer"
    closes
    ;;
*) e2e_fail "unknown scenario $scenario" ;;
esac
echo "ok: $scenario"
