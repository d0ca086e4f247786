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

# Listings that are no regular file are refused at once, naming the file and the reason:
# /dev/zero (no end), a folder, a FIFO without a writer (the guard ends a blocked read).
mkdir folder
mkfifo fifo
for bad in /dev/zero folder fifo; do
    timeout 20 "$nivractl" macro compile "$bad" >out.txt 2>err.txt
    status=$?
    [ "$status" -eq 1 ] || fail "macro compile $bad exited $status: $(cat err.txt)"
    grep -q "cannot read $bad: it is .*not a regular file" err.txt || fail "macro compile $bad said: $(cat err.txt)"
done
head -c 1048577 /dev/zero | tr '\0' '0' >huge.txt
run 1 macro compile huge.txt
grep -q "huge.txt: it is longer than 1048576 bytes" err.txt || fail "huge listing: $(cat err.txt)"

# Names with control characters are escaped in the tab-separated listings: a name cannot
# add a field or a line.
run 0 library rename Paste "$(printf 'a\tb\nc')"
run 0 library list
grep -q '^[0-9]*	a\\tb\\nc	' out.txt || fail "escaped name: $(cat -A out.txt)"
[ "$(awk -F'\t' 'NF != 3' out.txt | wc -l)" -eq 0 ] || fail "a listing line without three fields: $(cat -A out.txt)"
run 0 $sim macro add "$(printf 'a\tb\nc')"
run 0 $sim macro list
grep -q '^a\\tb\\nc	0' out.txt || fail "escaped device macro name: $(cat -A out.txt)"

# A damaged library (cut short) is refused and left as it is until the user replaces it.
lib=data/nivra/Nivra-Macro.bin
head -c 27000 "$lib" >cut.bin && cp cut.bin "$lib"
for args in "library list" "library delete Copy" "library import one.bin"; do
    # shellcheck disable=SC2086
    run 1 $args
    grep -q "is damaged or not a macro library (it holds 27000 bytes, not 27200)" err.txt ||
        fail "$args on a damaged library said: $(cat err.txt)"
done
run 1 $sim macro add Copy
cmp -s cut.bin "$lib" || fail "the damaged library was changed"
head -c 27201 /dev/zero >"$lib"
run 1 library list
grep -q "longer than 27200 bytes" err.txt || fail "long library: $(cat err.txt)"
run 0 library reset
run 0 library list
head -1 out.txt | grep -q "^0	Copy	" || fail "after reset: $(head -1 out.txt)"

# A backup that cannot be written fails the command with the reason (the report is printed).
: >statefile
XDG_STATE_HOME="$work/statefile" "$nivractl" $sim show --json >out.txt 2>err.txt
status=$?
[ "$status" -eq 1 ] || fail "show --json without a backup exited $status"
grep -q "no backup of the mouse's configuration was kept: cannot create $work/statefile/nivra/backups" err.txt ||
    fail "backup failure said: $(cat err.txt)"
grep -q '"patch_check"' out.txt || fail "no report printed"

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
