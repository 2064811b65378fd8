#!/bin/bash
# Starts the built editor on a private X server, opens a second document with Ctrl+N,
# leaves through Archivo > Salir by keyboard and checks the placement was written.
set -u
. "$(dirname "$0")/lib.sh"
bin=${1:?uso: shell_smoke.sh ruta/a/riruzo-deror}

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "no aparece la ventana principal"

# Text typed into Documento 1 must not be in the new document's select-all copy.
e2e_type "$win" "uno"
e2e_keys "$win" ctrl+n
e2e_type "$win" "dos"
e2e_keys "$win" ctrl+a ctrl+c
copied=$(e2e_clipboard)
[ "$copied" = "dos" ] || e2e_fail "Ctrl+N no abrió un documento nuevo (portapapeles: '$copied')"

e2e_keys "$win" alt+a
e2e_keys "$win" s
e2e_wait_exit 15 || e2e_fail "el editor no terminó con Alt+A, S"

ini=$(e2e_settings_file)
[ -f "$ini" ] || e2e_fail "no se escribió $ini"
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -Eq "^$key=-?[0-9]+(\.[0-9]+)?$" "$ini" || e2e_fail "falta $key en $ini"
done
echo "OK"
