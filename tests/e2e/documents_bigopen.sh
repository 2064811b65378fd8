#!/bin/bash
# A 100,000-paragraph document (about 30 MB, from the project's generator) opened through the
# File menu at the first-run size: afterwards a clipboard round trip of typed text works within
# bounds only a frozen editor misses. "cascade" opens it in the smallest window a cascade of twelve
# leaves; with "reader" a screen reader asks for the line at the caret once a second from before the
# Open on, and must be answered while the file is read (the empty text there before), then hear the
# document's first line.
#   documents_bigopen.sh riruzo-deror rtfgen-write [cascade|reader]
set -u
. "$(dirname "$0")/lib.sh"
bin=$1 arrangement=${3:-} work=$(mktemp -d)
doc="$work/grande.rtf"
"$2" 100000 "$doc" || e2e_fail "no se pudo generar $doc"

e2e_start_display
if [ "$arrangement" = reader ]; then
    e2e_start_atspi
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fi
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 1
log="$work/lector.log"
if [ "$arrangement" = reader ]; then
    /usr/bin/python3 "$(dirname "$0")/atspi_reader.py" "$log" poll 2>"$work/reader.err" &
    reader=$!
    trap 'kill $reader 2>/dev/null; e2e_stop' EXIT
    for i in $(seq 100); do grep -q '^poll' "$log" 2>/dev/null && break; sleep 0.1; done
    grep -q '^poll' "$log" 2>/dev/null ||
        e2e_fail "el lector no encontró el documento: $(cat "$work/reader.err" "$log")"
fi
if [ "$arrangement" = cascade ]; then
    for i in $(seq 11); do e2e_keys "$win" alt+a n; done
    e2e_keys "$win" alt+n d
    sleep 1
fi
e2e_open "$win" "$doc"
[ "$arrangement" = reader ] && echo opened >>"$log"
# The text is read by now or soon; the layout goes on behind the window.
sleep 10
if [ "$arrangement" = reader ]; then
    kill $reader 2>/dev/null
    # Answers after the Open: first the empty text being replaced, then the new text.
    heard=$(sed -n '/^opened$/,$p' "$log" | awk -F'\t' '
        $1 == "poll" && $4 == "" && !full { empty = 1 }
        $1 == "poll" && $4 != "" { full = 1 }
        END { print (empty ? "empty" : "none") "-" (full ? "full" : "none") }')
    echo "The reader's slowest answers (ms):" \
        "$(awk -F'\t' '$1 == "poll" { print $2 }' "$log" | sort -rn | head -n 3 | tr '\n' ' ')"
    [ "$heard" = empty-full ] ||
        e2e_fail "el lector no fue atendido durante la lectura ($heard): $(tr '\t' ' ' <"$log" | tail -n 8)"
fi

e2e_keys "$win" ctrl+Home
e2e_type "$win" "zfinalz"
e2e_keys "$win" ctrl+shift+Home ctrl+c
for i in $(seq 120); do
    got=$(timeout 5 xclip -o -selection clipboard 2>/dev/null)
    [ "$got" = "zfinalz" ] && break
    sleep 0.5
done
[ "$got" = "zfinalz" ] || e2e_fail "el portapapeles dio '$got' en vez de 'zfinalz': el editor no responde"
kill -0 "$E2E_EDITOR_PID" 2>/dev/null || e2e_fail "el editor terminó"
rm -rf "$work"
echo "PASS"
