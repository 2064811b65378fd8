#!/bin/bash
# Saves on a real full and a real read-only disk (a 64 KB tmpfs in a private mount namespace): every
# size, up to 100 MB and around a write buffer's 16 KB, fails with status 1 and a Spanish reason, the
# old file stays byte for byte, no temporary is left. Fails, never skips, without a mount.
# usage: realdisks.sh RTFDUMP SAVEBYTES
set -u
rtfdump=$1 savebytes=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "${SAVE_TEST_NAMESPACE:-}" != 1 ]; then
    export SAVE_TEST_NAMESPACE=1
    [ "$(id -u)" = 0 ] || exec unshare --user --map-root-user --mount --propagation private bash "$0" "$@" \
        || fail "no se puede montar un disco de prueba (ni como root ni con unshare --user)"
    # as root without namespaces, the disk is mounted in place and unmounted on the way out
    unshare --mount --propagation private true 2>/dev/null && exec unshare --mount --propagation private bash "$0" "$@"
fi

work=$(mktemp -d) && disk=$work/disk && mkdir "$disk"
trap 'umount "$disk" 2>/dev/null; rm -rf "$work"' EXIT
mount -t tmpfs -o size=64k tmpfs "$disk" || fail "no se puede montar un tmpfs"
old='{\rtf1 old text\par}'
printf '%s' "$old" > "$work/expected"
{ printf '{\\rtf1 '; for ((i = 0; i < 20000; i++)); do printf 'relleno '; done; printf '}'; } > "$work/in.rtf"

# Puts the old file back and fills the disk around it.
refill() {
    rm -f "$disk/filler"
    printf '%s' "$old" > "$disk/keep.rtf" || fail "cannot write the old file"
    head -c 100000 /dev/zero > "$disk/filler" 2>/dev/null
    [ "$(df --output=avail "$disk" | tail -1 | tr -d ' ')" = 0 ] || fail "the disk is not full"
}

# expect REASON WHAT COMMAND...: the save fails with status 1 for REASON and leaves the disk as it was.
expect() {
    local reason=$1 what=$2
    shift 2
    "$@" 2> "$work/stderr"
    [ $? = 1 ] || fail "$what: the save did not fail with status 1"
    grep -q "No se puede guardar el archivo «$disk/keep.rtf»: $reason." "$work/stderr" \
        || fail "$what: message was: $(cat "$work/stderr")"
    cmp -s "$disk/keep.rtf" "$work/expected" || fail "$what: the old file changed"
    [ "$(ls -A "$disk" | tr '\n' ' ')" = "filler keep.rtf " ] || fail "$what: the disk holds: $(ls -A "$disk")"
    echo "ok: $what"
}

full='no queda espacio libre en el disco'
for size in 1 16383 16384 16385 104857600; do
    refill
    expect "$full" "$size bytes on a full disk" "$savebytes" "$size" "$disk/keep.rtf"
done
refill
expect "$full" "rtfdump on a full disk" "$rtfdump" --roundtrip "$work/in.rtf" "$disk/keep.rtf"

refill
mount -o remount,bind,ro "$disk" || fail "cannot make the disk read-only"
expect "el disco es de solo lectura" "rtfdump on a read-only disk" "$rtfdump" --roundtrip "$work/in.rtf" "$disk/keep.rtf"
echo "PASS"
