#!/bin/bash
# Plain text travels both ways between the editor and another X client (xclip).
set -u
. "$(dirname "$0")/lib.sh"
bin=$1

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
e2e_keys "$win" ctrl+n
sleep 0.5

# Another program owns the clipboard; the editor pastes from it.
printf 'desde fuera' | xclip -selection clipboard -i
sleep 0.3
e2e_keys "$win" ctrl+v
sleep 0.3

# The editor copies; the other program reads what it put there.
e2e_keys "$win" ctrl+a ctrl+c
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "desde fuera" ] || e2e_fail "el Portapapeles tiene '$got', se esperaba 'desde fuera'"

# Cut leaves the document empty and the text on the clipboard.
e2e_keys "$win" ctrl+a ctrl+x
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "desde fuera" ] || e2e_fail "tras cortar el Portapapeles tiene '$got'"
echo "PASS"
