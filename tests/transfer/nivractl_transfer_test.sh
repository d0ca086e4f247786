#!/usr/bin/env bash
# nivractl's transfer commands on the simulated mouse: exit statuses, the files they write,
# the memory they leave, and that each finishes within 3 s of wall time.
set -u
nivractl=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_STATE_HOME="$work/state"
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run EXPECTED-STATUS ARGS...: runs nivractl, checks its status and its wall time.
run() {
    local expected=$1; shift
    local start end status
    start=$(date +%s%N)
    "$nivractl" "$@" >out.txt 2>err.txt
    status=$?
    end=$(date +%s%N)
    [ "$status" -eq "$expected" ] || fail "nivractl $* exited $status, not $expected: $(cat err.txt)"
    [ $(( (end - start) / 1000000 )) -lt 3000 ] || fail "nivractl $* took $(( (end - start) / 1000000 )) ms"
    if [ "$expected" -eq 1 ]; then
        [ "$(wc -l <err.txt)" -eq 1 ] || fail "nivractl $*: not one line on stderr: $(cat err.txt)"
    fi
}

bytes() { od -An -tx1 -v -j "$2" -N "$3" "$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }

# A fresh simulated mouse starts from built-in image 1 and is saved to its file.
run 0 --simulate=M.bin save F.bin
cmp -s M.bin F.bin || fail "save: F.bin differs from the mouse memory"
[ "$(stat -c %s F.bin)" -eq 2048 ] || fail "save: F.bin is not 2048 bytes"
run 0 builtin 1 B1.bin
cmp -s M.bin B1.bin || fail "a fresh simulated mouse does not hold built-in image 1"

# show --json reads the mouse and reports it as show --file reports the same bytes.
run 0 --simulate=M.bin show --json
mv out.txt mouse.json
run 0 show --json --file M.bin
cmp -s out.txt mouse.json || fail "show --json from the mouse differs from show --json --file"

# A file whose byte 495 is not E0, and a short file, are refused; the memory is unchanged.
cp M.bin before.bin
cp F.bin bad.bin
printf '\xff' | dd of=bad.bin bs=1 seek=495 conv=notrunc status=none
head -c 2000 F.bin >short.bin
for f in bad.bin short.bin missing.bin; do
    run 1 --simulate=M.bin --trace T.txt load "$f"
    grep -q "Loading .bin is error!" err.txt || [ "$f" = missing.bin ] || fail "load $f: message $(cat err.txt)"
    cmp -s M.bin before.bin || fail "load $f changed the mouse memory"
    grep -q '^SET 40 07 ' T.txt && fail "load $f wrote to the mouse"
done

# Restores: image 2 as built; the defaults keep the patch code and zero the macro area.
run 0 --simulate=M.bin restore 2
run 0 builtin 2 B2.bin
cmp -s M.bin B2.bin || fail "restore 2 did not write built-in image 2"
run 0 --simulate=M.bin restore defaults
[ "$(bytes M.bin 496 512 | tr -d ' 0')" = "" ] || fail "restore defaults: macro area not zero"
[ "$(bytes M.bin 1008 8)" = "04 00 02 00 00 1a 26 1a" ] || fail "restore defaults: patch header $(bytes M.bin 1008 8)"
run 2 --simulate=M.bin restore 4

# A patch file whose first 8 bytes are zero gets the computed header; bytes 8..15 are kept.
dd if=B1.bin of=patch.bin bs=1 skip=1008 count=528 status=none
printf '\0\0\0\0\0\0\0\0\x11\x22\x33\x44\x55\x66\x77\x88' | dd of=patch.bin bs=1 conv=notrunc status=none
run 0 --simulate=M.bin patch patch.bin
[ "$(bytes M.bin 1008 16)" = "04 00 02 00 00 1a 26 1a 11 22 33 44 55 66 77 88" ] ||
    fail "patch: header $(bytes M.bin 1008 16)"
head -c 527 patch.bin >short-patch.bin
cp M.bin before.bin
run 1 --simulate=M.bin patch short-patch.bin
cmp -s M.bin before.bin || fail "a short patch file changed the mouse memory"

# Export: the 512 bytes of the device macro area.
run 0 --simulate=M.bin export-macros X.bin
[ "$(stat -c %s X.bin)" -eq 512 ] || fail "export-macros: not 512 bytes"

# Every accepted read left a backup; the newest one loads back.
run 0 backups
[ "$(wc -l <out.txt)" -ge 1 ] || fail "backups: none listed"
newest=$(head -1 out.txt)
cmp -s "$newest" M.bin || fail "backups: the newest backup is not the memory as last read"
run 0 --simulate=M.bin load F.bin
cmp -s M.bin F.bin || fail "load F.bin did not write it"
run 0 --simulate=M.bin load "$newest"
cmp -s M.bin "$newest" || fail "load of a backup did not write it"

# The oldest of a full folder of backups loads back: the connection's own backup does not
# prune it away first.
backups="$XDG_STATE_HOME/nivra/backups"
rm -f "$backups"/*
for day in $(seq -w 10 29); do cp B2.bin "$backups/201001$day-000000Z-1BCF-08B8-FF-FF.bin"; done
oldest="$backups/20100110-000000Z-1BCF-08B8-FF-FF.bin"
cp B1.bin "$oldest"
run 0 --simulate=M.bin load "$oldest"
cmp -s M.bin B1.bin || fail "load of the oldest backup did not write it"
[ -f "$oldest" ] || fail "load of the oldest backup removed it"

# A file whose ID bytes the check refuses is written, but the mouse that comes back is
# refused: the refusal ("Str107") is reported, not a mouse that was not found again.
cp M.bin before.bin
cp F.bin foreign.bin
printf '\x12\x34' | dd of=foreign.bin bs=1 seek=484 conv=notrunc status=none
run 1 --simulate=M.bin load foreign.bin
grep -q "The mouse manufacturer or product id error" err.txt || fail "load foreign.bin: message $(cat err.txt)"
cp before.bin M.bin

# Bad usage.
run 2 --simulate=M.bin save
run 2 --simulate=M.bin backups extra

[ "$failures" -eq 0 ] && echo "all nivractl transfer checks passed"
exit $((failures > 0))
