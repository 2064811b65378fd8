#!/bin/bash
# A 100,000-paragraph document (about 30 MB, from the project's generator) opened through the
# File menu at the first-run size: afterwards a clipboard round trip of typed text works within
# bounds only a frozen editor misses. "cascade" opens it in the smallest window a cascade of twelve
# leaves.
#   documents_bigopen.sh riruzo-deror rtfgen-write [cascade]
set -u
. "$(dirname "$0")/lib.sh"
bin=$1 arrangement=${3:-} work=$(mktemp -d)
doc="$work/grande.rtf"
"$2" 100000 "$doc" || e2e_fail "no se pudo generar $doc"

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 1
if [ "$arrangement" = cascade ]; then
    for i in $(seq 11); do e2e_keys "$win" alt+a n; done
    e2e_keys "$win" alt+n d
    sleep 1
fi
e2e_open "$win" "$doc"
# The text is read by now or soon; the layout goes on behind the window.
sleep 10
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
