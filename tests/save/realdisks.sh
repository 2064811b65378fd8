#!/bin/bash
# Saves on a real full and a real read-only disk (a 64 KB tmpfs in a private mount namespace):
# every size, up to 100 MB and around a write buffer's 16 KB, fails with status 1 and a Spanish
# reason, the old file stays byte for byte, no temporary is left. Fails, never skips, without a mount.
# usage: realdisks.sh RTFDUMP SAVEBYTES
set -u
rtfdump=$1 savebytes=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "${SAVE_TEST_NAMESPACE:-}" != 1 ]; then
    export SAVE_TEST_NAMESPACE=1
    if [ "$(id -u)" = 0 ]; then
        if unshare --mount --propagation private true 2>/dev/null; then
            exec unshare --mount --propagation private bash "$0" "$@"
        fi
        exec bash "$0" "$@"   # no namespaces here: mount in place, unmount on the way out
    fi
    exec unshare --user --map-root-user --mount --propagation private bash "$0" "$@" \
        || fail "no se puede montar un disco de prueba (ni como root ni con unshare --user)"
fi

work=$(mktemp -d) && disk=$work/disk && mkdir "$disk"
trap 'umount "$disk" 2>/dev/null; rm -rf "$work"' EXIT
mount -t tmpfs -o size=64k tmpfs "$disk" || fail "no se puede montar un tmpfs"

old='{\rtf1 old text\par}'
printf '%s' "$old" > "$work/expected"

# Puts the old file back and fills the disk around it.
refill() {
    rm -f "$disk/filler"
    printf '%s' "$old" > "$disk/keep.rtf" || fail "cannot write the old file"
    head -c 100000 /dev/zero > "$disk/filler" 2>/dev/null
    [ "$(df --output=avail "$disk" | tail -1 | tr -d ' ')" = 0 ] || fail "the disk is not full"
}

# check WHAT STATUS REASON: the save failed for REASON and left the disk as it was.
check() {
    local what=$1 status=$2 reason=$3
    [ "$status" = 1 ] || fail "$what: exit status $status, expected 1"
    grep -q "No se puede guardar el archivo «$disk/keep.rtf»: $reason." "$work/stderr" \
        || fail "$what: message was: $(cat "$work/stderr")"
    cmp -s "$disk/keep.rtf" "$work/expected" || fail "$what: the old file changed"
    local left
    left=$(cd "$disk" && ls -A | tr '\n' ' ')
    [ "$left" = "filler keep.rtf " ] || fail "$what: the disk holds: $left"
    echo "ok: $what"
}

full='no queda espacio libre en el disco'
for words in 1 20 200 2000 20000; do
    { printf '{\\rtf1 '; for ((i = 0; i < words; i++)); do printf 'relleno '; done; printf '}'; } \
        > "$work/in.rtf"
    refill
    "$rtfdump" --roundtrip "$work/in.rtf" "$disk/keep.rtf" 2> "$work/stderr"
    check "rtfdump, $words words on a full disk" $? "$full"
done
for size in 1 4095 16383 16384 16385 65536 104857600; do
    refill
    "$savebytes" "$size" "$disk/keep.rtf" 2> "$work/stderr"
    check "$size bytes on a full disk" $? "$full"
done

# With room again a save works: the failures above were the disk's.
rm -f "$disk/filler"
printf '{\\rtf1 relleno}' > "$work/in.rtf"
"$rtfdump" --roundtrip "$work/in.rtf" "$disk/small.rtf" 2> "$work/stderr" \
    && [ -s "$disk/small.rtf" ] || fail "a save with room failed: $(cat "$work/stderr")"
rm -f "$disk/small.rtf"
echo "ok: a save with room"

refill
mount -o remount,bind,ro "$disk" || fail "cannot make the disk read-only"
for size in 1 16384 1000000; do
    "$savebytes" "$size" "$disk/keep.rtf" 2> "$work/stderr"
    check "$size bytes on a read-only disk" $? "el disco es de solo lectura"
done
"$rtfdump" --roundtrip "$work/in.rtf" "$disk/keep.rtf" 2> "$work/stderr"
check "rtfdump on a read-only disk" $? "el disco es de solo lectura"
echo "PASS"
