#!/usr/bin/env bash
# nivractl's macro and library commands on the simulated mouse and a private library file,
# and `macro build` over random bytes, which must end with status 0 or 1 and never crash.
set -u
nivractl=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_STATE_HOME="$work/state" XDG_DATA_HOME="$work/data"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run EXPECTED-STATUS ARGS...
run() {
    local expected=$1; shift
    "$nivractl" "$@" >out.txt 2>err.txt
    local status=$?
    [ "$status" -eq "$expected" ] || fail "nivractl $* exited $status, not $expected: $(cat err.txt)"
}

printf '10\n0 300\n3 04FF05\n1 A CODE:8204\n2 LeftKey CODE:0021\n' > listing.txt
run 0 macro compile listing.txt
[ "$(cat out.txt)" = "FE 01 2C 04 FF 05 82 04 21 00" ] || fail "compile gave $(cat out.txt)"
run 0 macro build FD 03 A1 FE 00 0A 21 FC 00
[ "$(tr '\n' '|' <out.txt)" = "10|7 FD03|1 LeftKey CODE:00A1|0 10|2 LeftKey CODE:0021|8 FC|" ] || fail "build gave $(cat out.txt)"
run 1 macro build A1 21
run 1 macro build A1 77 00
run 1 macro build XY

# Listing never writes: the default library is listed while the file does not exist yet,
# and a missing FILE is an error that creates nothing.
run 0 library list
[ ! -e data/nivra/Nivra-Macro.bin ] || fail "library list created the library file"
head -1 out.txt | grep -q "^0	Copy	" || fail "first library macro: $(head -1 out.txt)"
run 1 library list missing.bin
[ ! -e missing.bin ] || fail "library list FILE created FILE"
grep -q "missing.bin" err.txt || fail "no message naming the missing file: $(cat err.txt)"
# The library file is created from the default library at the first use that needs it.
run 0 library export Copy one.bin
[ -f data/nivra/Nivra-Macro.bin ] || fail "no library file"
[ "$(stat -c %s data/nivra/Nivra-Macro.bin)" -eq 27200 ] || fail "library size"
[ "$(stat -c %s one.bin)" -eq 272 ] || fail "export one size"
run 1 library import one.bin
run 1 library rename Copy Copy
run 0 library rename Copy Kopie
run 0 library import one.bin
tail -1 <("$nivractl" library list) | grep -q "	Copy	" || fail "import did not add Copy last"
run 0 library delete Kopie

# Device macros: add two, list, delete one, import the base macro file again.
sim=--simulate=mem.bin
run 0 $sim macro add Copy
run 0 $sim macro add Paste
run 1 $sim macro add Copy
run 0 $sim macro list
[ "$(cut -f1,2 out.txt | tr '\t\n' ' |')" = "Copy 0200|Paste 0222|" ] || fail "list gave $(cat out.txt)"
run 0 $sim show --json
grep -q '"device_macros": \[{"name": "Copy", "address": "0200", "length": 18}' out.txt || fail "show --json: $(grep device_macros out.txt)"
run 0 $sim macro export base.bin
[ "$(stat -c %s base.bin)" -eq 512 ] || fail "base macro file size"
run 0 $sim macro delete Copy
run 0 $sim macro list
[ "$(cut -f1,2 out.txt | tr '\t\n' ' |')" = "Paste 0200|" ] || fail "after delete: $(cat out.txt)"
run 1 $sim macro delete Copy
run 0 $sim macro import base.bin
run 0 $sim macro list
[ "$(wc -l <out.txt)" -eq 2 ] || fail "after import: $(cat out.txt)"

# Random bytes: every build ends cleanly.
for i in $(seq 1 100); do
    hex=$(head -c $((RANDOM % 40 + 1)) /dev/urandom | od -An -tx1 -v | tr -d '\n')
    # shellcheck disable=SC2086
    "$nivractl" macro build $hex >/dev/null 2>&1
    status=$?
    [ "$status" -le 1 ] || fail "macro build $hex exited $status"
done

[ "$failures" -eq 0 ] && echo "all passed"
exit "$failures"
