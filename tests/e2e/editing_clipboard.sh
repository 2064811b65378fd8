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

# Another program puts a marker on the clipboard each time, so that only the editor's own
# Copy or Cut can leave the document's text there.
marker() {
    printf 'marca' | xclip -selection clipboard -i
    sleep 0.3
    [ "$(e2e_clipboard)" = "marca" ] || e2e_fail "xclip no pudo poner la marca en el Portapapeles"
}

# The editor copies; the other program reads what it put there.
marker
e2e_keys "$win" ctrl+a ctrl+c
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "desde fuera" ] || e2e_fail "el Portapapeles tiene '$got', se esperaba 'desde fuera'"

# Cut puts the text on the clipboard and takes it out of the document.
marker
e2e_keys "$win" ctrl+a ctrl+x
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "desde fuera" ] || e2e_fail "tras cortar el Portapapeles tiene '$got'"
# What is typed at the end now is all the document holds.
e2e_keys "$win" ctrl+End
e2e_type "$win" "z"
marker
e2e_keys "$win" ctrl+a ctrl+c
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "z" ] || e2e_fail "tras cortar el documento tiene '$got', se esperaba 'z'"
echo "PASS"
