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

# What the document holds, read through the keys' Copy; the marker goes first.
document_text() {
    marker
    e2e_keys "$win" ctrl+a ctrl+c
    sleep 0.5
    e2e_clipboard
}

# The editor copies, from the Edit menu and with the keys; the other program reads it.
for copy in "alt+e c" "ctrl+c"; do
    marker
    e2e_keys "$win" ctrl+a $copy
    sleep 0.5
    got=$(e2e_clipboard)
    [ "$got" = "desde fuera" ] || e2e_fail "tras copiar ($copy) el Portapapeles tiene '$got'"
done

# Cut, from the Edit menu and with the keys, puts the text on the clipboard and takes it
# out of the document: what is typed at the end afterwards is all the document holds.
text="desde fuera"
for cut in "alt+e t" "ctrl+x"; do
    marker
    e2e_keys "$win" ctrl+a $cut
    sleep 0.5
    got=$(e2e_clipboard)
    [ "$got" = "$text" ] || e2e_fail "tras cortar ($cut) el Portapapeles tiene '$got'"
    e2e_keys "$win" ctrl+End
    e2e_type "$win" "z"
    got=$(document_text)
    [ "$got" = "z" ] || e2e_fail "tras cortar ($cut) el documento tiene '$got', se esperaba 'z'"
    text="z"
done
echo "PASS"
