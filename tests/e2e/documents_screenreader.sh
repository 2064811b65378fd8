#!/bin/bash
# A screen reader on the real AT-SPI bus hears the line at the caret, and the line after
# it, after Ctrl+End and Ctrl+Home in an opened document, and counts its characters.
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

# Sends key $1 until the reader's log gains, after the first send, caret offset $2 on line $3
# with $4 after it.
heard() {
    local key=$1 offset=$2 line=$3 next=$4 seen i
    seen=$(wc -l <"$log")
    for i in $(seq 100); do
        [ $((i % 20)) = 1 ] && e2e_keys "$win" "$key"
        if tail -n +$((seen + 1)) "$log" | awk -F'\t' -v o="$offset" -v l="$line" \
            -v n="$next" -v c="$characters" \
            '$1 == o && $2 == c && $3 == l && $5 == n { found = 1 } END { exit !found }'; then
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "tras $key el lector no oyó '$line' y luego '$next' en $offset; oyó: $(tr '\t' ' ' <"$log" | tail -n 5)"
}

e2e_start_display
e2e_start_atspi
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 1
e2e_open "$win" "$doc"

# The reader starts after the Open: while it listens, the menus' Alt keys go to the AT-SPI bus.
/usr/bin/python3 "$(dirname "$0")/atspi_reader.py" "$log" 2>"$dir/reader.err" &
reader=$!
trap 'kill $reader 2>/dev/null; rm -rf "$dir"; e2e_stop' EXIT
for i in $(seq 100); do grep -q '^ready' "$log" 2>/dev/null && break; sleep 0.1; done
grep -q '^ready' "$log" 2>/dev/null || e2e_fail "el lector no arrancó: $(cat "$dir/reader.err")"

heard ctrl+End "$characters" "última línea" ""
heard ctrl+Home 0 "primera línea" "segunda línea"
echo "PASS"
