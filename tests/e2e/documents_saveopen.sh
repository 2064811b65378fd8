#!/bin/bash
# Typed text survives Save As under a typed path and comes back through Open in a new window.
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
out=$(mktemp -d)/guardado.txt

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 0.5
e2e_type "$win" "texto guardado"
e2e_save_as "$win" "$out"
[ -s "$out" ] || e2e_fail "no se escribió $out"
head -c 5 "$out" | grep -q '{\\rtf' || e2e_fail "$out no contiene texto enriquecido"

e2e_keys "$win" alt+a n
sleep 0.5
e2e_open "$win" "$out"
e2e_keys "$win" ctrl+a ctrl+c
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "texto guardado" ] || e2e_fail "se abrió '$got', se esperaba 'texto guardado'"
echo "PASS"
