#!/bin/bash
# A screen reader on the real AT-SPI bus hears the line at the caret after Ctrl+End and
# Ctrl+Home in an opened document, and counts the document's characters.
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
dir=$(mktemp -d)
doc=$dir/lectura.rtf
log=$dir/lector.log
cat >"$doc" <<'RTF'
{\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}}\f0\fs24 primera l\'ednea\par segunda l\'ednea\par \'faltima l\'ednea\par}
RTF
characters=40   # "primera línea\nsegunda línea\núltima línea"

# Waits until the reader's log has a line for caret offset $1 reading $2.
heard() {
    local offset=$1 line=$2 i
    for i in $(seq 100); do
        if awk -F'\t' -v o="$offset" -v l="$line" -v c="$characters" \
            '$1 == o && $3 == l && $2 == c { found = 1 } END { exit !found }' "$log"; then
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "el lector no oyó '$line' en $offset; oyó: $(tr '\t' ' ' <"$log" | tail -n 5)"
}

e2e_start_display
e2e_start_atspi
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 1
e2e_open "$win" "$doc"

# The reader starts once the document is open: while it listens, Qt hands the keys to
# the AT-SPI bus first, and the menus' Alt keys then no longer reach their menus.
/usr/bin/python3 "$(dirname "$0")/atspi_reader.py" "$log" 2>"$dir/reader.err" &
reader=$!
trap 'kill $reader 2>/dev/null; e2e_stop' EXIT
for i in $(seq 100); do grep -q '^ready' "$log" 2>/dev/null && break; sleep 0.1; done
grep -q '^ready' "$log" 2>/dev/null || e2e_fail "el lector no arrancó: $(cat "$dir/reader.err")"
sleep 1

e2e_keys "$win" ctrl+End
heard "$characters" "última línea"
e2e_keys "$win" ctrl+Home
heard 0 "primera línea"
echo "PASS"
