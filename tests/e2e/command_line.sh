#!/usr/bin/env bash
# The command line without any screen: names drawn (one, several, all of few,
# each once; with a beginning), added and refused, another copy's lock held
# too long, usage errors, help and version, and the window asked for with no
# display to show it on.
# Usage: command_line.sh TAVOLIN_EXECUTABLE
set -euo pipefail
source "$(dirname "$0")/lib.sh"
e2e_start_headless
export LANG=C.UTF-8
dir=$E2E_TMP/program
mkdir "$dir"
cp "$1" "$dir/tavolin"
fnames=$dir/fnames.dat mnames=$dir/mnames.dat

tavolin() { e2e_run "$dir/tavolin" "$@"; }
expect() { # exit code, what was done
    [ "$E2E_RC" = "$1" ] || e2e_fail "$2: exit code $E2E_RC, not $1; out: $E2E_OUT; err: $E2E_ERR"
}
sorted() { LC_ALL=C sort <<<"$E2E_OUT" | tr "\n" " "; }

# Windows-1252: "Anna" twice, "Änne" (C4) beside "ärni" (E4), and a crowd of
# five names a thousand entries long.
printf 'Anna\xb3\r\nanton\xb3\r\n\xc4nne\xb3\r\nAnna\xb3\r\n' >"$fnames"
for _ in $(seq 200); do printf 'Lea\xb3Mia\xb3Ida\xb3Eva\xb3Zoe\xb3\r\n'; done >>"$fnames"
printf 'Adam\xb3\r\n\xe4rni\xb3\r\nBernd\xb3\r\n' >"$mnames"

tavolin --name
expect 0 "one name"
grep -qxF -- "$E2E_OUT" <(printf '%s\n' Anna anton Änne Lea Mia Ida Eva Zoe Adam ärni Bernd) ||
    e2e_fail "one name: '$E2E_OUT'"
tavolin --name --weiblich --anzahl 5
expect 0 "five of many"
[ "$(wc -l <<<"$E2E_OUT")" = 5 ] && [ "$(sort -u <<<"$E2E_OUT" | grep -cxE 'Anna|anton|Änne|Lea|Mia|Ida|Eva|Zoe')" = 5 ] ||
    e2e_fail "five different female names: $E2E_OUT"
tavolin --name --weiblich --anzahl 20
[ "$(sorted)" = "Anna Eva Ida Lea Mia Zoe anton Änne " ] || e2e_fail "all female names once: $E2E_OUT"
tavolin --name --männlich --anzahl 10
expect 0 "all of few"
[ "$(sorted)" = "Adam Bernd ärni " ] || e2e_fail "all male names once: $E2E_OUT"
tavolin --name --anzahl 40 --anfang AN
expect 0 "a beginning, folded"
[ "$(sorted)" = "Anna anton " ] || e2e_fail "beginning AN: $E2E_OUT"
tavolin --name --anfang ä --anzahl 3
[ "$E2E_OUT" = ärni ] || e2e_fail "an umlaut is not folded: $E2E_OUT"
tavolin --name --weiblich --anfang Qx
expect 1 "no match"
[ -z "$E2E_OUT" ] && grep -q 'Kein weiblicher Name.*Qx' <<<"$E2E_ERR" || e2e_fail "no match: $E2E_ERR"

# shellcheck disable=SC2086 # each case is its words
for usage in --bogus "--name --anzahl 0" "--name --anzahl drei" "--name --weiblich --maennlich" \
    "--name --anfang Ω" "--name --anfang" "--hinzufuegen Ida" "--anzahl 2" "--name Ida" "--name --hinzufuegen Ida"; do
    tavolin $usage
    expect 2 "usage error $usage"
    [ -z "$E2E_OUT" ] && grep -q -- --help <<<"$E2E_ERR" || e2e_fail "$usage: $E2E_ERR"
done

tavolin --hinzufuegen Zoë --weiblich
expect 0 "add"
[ "$(tail -c 6 "$fnames" | od -An -tx1 | tr -d ' \n')" = 5a6febb30d0a ] || e2e_fail "Zoë is not in fnames.dat"
tavolin --hinzufügen Zoë --weiblich
expect 1 "add again"
grep -q bereits <<<"$E2E_ERR" || e2e_fail "add again: $E2E_ERR"
tavolin --hinzufuegen 'Ω' --maennlich
expect 2 "a name Windows-1252 cannot hold"

# Another copy holds the lock past the wait: the name is kept and said so,
# and the next add writes it.
(exec 9<"$fnames" && flock 9 && exec sleep 60) &
holder=$!
E2E_PIDS+=("$holder")
locked() { ! flock -n "$fnames" true; }
e2e_wait_for 10 locked || e2e_fail "the lock is not held"
tavolin --hinzufuegen Lotte --weiblich
expect 2 "a busy lock"
recovery=("$XDG_STATE_HOME"/tavolin/fnames.dat-*.recovery)
grep -q Lotte "${recovery[0]}" && grep -qF "${recovery[0]}" <<<"$E2E_ERR" || e2e_fail "Lotte not kept: $E2E_ERR"
kill "$holder"
wait "$holder" 2>/dev/null || true
tavolin --hinzufuegen Maja --weiblich
expect 0 "the add after it"
grep -q Lotte "$fnames" && grep -q Maja "$fnames" && [ ! -e "${recovery[0]}" ] || e2e_fail "Lotte is not saved"
grep -q '1 Name(n).*eingetragen' <<<"$E2E_ERR" || e2e_fail "no word of Lotte: $E2E_ERR"

tavolin --help
expect 0 help
grep -q -- '--hinzufuegen NAME' <<<"$E2E_OUT" || e2e_fail "help: $E2E_OUT"
tavolin --version
expect 0 version
[ "$E2E_OUT" = "$E2E_TITLE" ] || e2e_fail "version: $E2E_OUT"
tavolin
expect 1 "the window without a display"
grep -q 'grafische Oberfläche.*--name' <<<"$E2E_ERR" || e2e_fail "no display: $E2E_ERR"
echo "command line: PASS"
