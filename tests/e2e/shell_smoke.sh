#!/bin/bash
# On a private X server: typed text goes out through Save As under a typed path and comes back
# through Open; Ctrl+N opens an empty document; Archivo > Salir by keyboard ends the editor,
# which writes its placement.
set -u
. "$(dirname "$0")/lib.sh"
bin=${1:?uso: shell_smoke.sh ruta/a/riruzo-deror}
out=$(mktemp -d)/guardado.txt

# The active document's text, through select-all and Copy.
document_text() {
    e2e_keys "$win" ctrl+a ctrl+c
    sleep 0.5
    e2e_clipboard
}

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "no aparece la ventana principal"
sleep 0.5
e2e_type "$win" "texto guardado"
e2e_save_as "$win" "$out"
head -c 5 "$out" | grep -q '{\\rtf' || e2e_fail "$out no se escribió como texto enriquecido"
e2e_keys "$win" alt+a n
sleep 0.5
e2e_open "$win" "$out"
got=$(document_text)
[ "$got" = "texto guardado" ] || e2e_fail "se abrió '$got', se esperaba 'texto guardado'"

e2e_keys "$win" ctrl+n
e2e_type "$win" "dos"
got=$(document_text)
[ "$got" = "dos" ] || e2e_fail "Ctrl+N no abrió un documento nuevo (portapapeles: '$got')"

e2e_keys "$win" alt+a s
for i in $(seq 150); do kill -0 "$E2E_EDITOR_PID" 2>/dev/null && sleep 0.1; done
kill -0 "$E2E_EDITOR_PID" 2>/dev/null && e2e_fail "el editor no terminó con Alt+A, S"
E2E_EDITOR_PID=""
ini="$E2E_CONFIG/Riruzo Deror/Riruzo Deror.ini"
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -Eq "^$key=-?[0-9]+(\.[0-9]+)?$" "$ini" || e2e_fail "falta $key en $ini"
done
echo "PASS"
