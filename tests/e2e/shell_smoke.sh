#!/bin/bash
# The built editor on a private X server, driven by keys: typed text goes out as RTF through Save As
# under a typed path and comes back through Open; Copy offers plain text only and Ctrl+V takes the
# plain text when another X client offers HTML beside it; Ctrl+N opens an empty document; Ctrl+X
# moves the selection to the clipboard; Archivo > Salir ends the editor, which writes its placement.
#   shell_smoke.sh riruzo-deror xclient
set -u
. "$(dirname "$0")/lib.sh"
bin=$1 xclient=$2 dir=$(mktemp -d)
plain_targets=" COMPOUND_TEXT MULTIPLE SAVE_TARGETS STRING TARGETS TEXT TIMESTAMP UTF8_STRING text/plain text/plain;charset=utf-8 "

# The active document's text, copied with the keys over a marker that another program put on
# the clipboard; the clipboard must offer plain-text targets (or X's own) only.
document_text() {
    printf 'marca' | xclip -selection clipboard -i
    e2e_keys "$win" ctrl+a ctrl+c
    sleep 0.5
    for t in $(xclip -o -selection clipboard -t TARGETS 2>/dev/null); do
        [[ "$plain_targets" == *" $t "* ]] || e2e_fail "Copiar ofrece $t en el Portapapeles"
    done
    e2e_clipboard
}

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "no aparece la ventana principal"
sleep 0.5
e2e_type "$win" "texto guardado"
e2e_save_as "$win" "$dir/guardado.txt"
head -c 5 "$dir/guardado.txt" | grep -q '{\\rtf' || e2e_fail "guardado.txt no se escribió como texto enriquecido"
e2e_keys "$win" alt+a n
sleep 0.5
e2e_open "$win" "$dir/guardado.txt"
got=$(document_text)
[ "$got" = "texto guardado" ] || e2e_fail "se abrió '$got', se esperaba 'texto guardado'"

"$xclient" "llano" "<p><b>rico</b></p>" >"$dir/offer.log" 2>&1 &
offer_pid=$!
for i in $(seq 50); do grep -q listo "$dir/offer.log" 2>/dev/null && break; sleep 0.1; done
e2e_keys "$win" ctrl+a ctrl+v
sleep 0.3
kill "$offer_pid" 2>/dev/null
got=$(document_text)
[ "$got" = "llano" ] || e2e_fail "Ctrl+V pegó '$got' en lugar de 'llano'"

# With the caret at the end, text typed without a new document would follow what is there.
e2e_keys "$win" ctrl+End ctrl+n
e2e_type "$win" "dos"
got=$(document_text)
[ "$got" = "dos" ] || e2e_fail "Ctrl+N no abrió un documento nuevo (portapapeles: '$got')"
e2e_keys "$win" ctrl+a ctrl+x
sleep 0.3
got=$(e2e_clipboard)
[ "$got" = "dos" ] || e2e_fail "Ctrl+X dejó '$got' en el Portapapeles"
e2e_type "$win" "tres"
got=$(document_text)
[ "$got" = "tres" ] || e2e_fail "tras Ctrl+X el documento tiene '$got'"

e2e_keys "$win" alt+a s
for i in $(seq 150); do kill -0 "$E2E_EDITOR_PID" 2>/dev/null && sleep 0.1; done
kill -0 "$E2E_EDITOR_PID" 2>/dev/null && e2e_fail "el editor no terminó con Alt+A, S"
E2E_EDITOR_PID=""
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -Eq "^$key=-?[0-9]+(\.[0-9]+)?$" "$E2E_CONFIG/Riruzo Deror/Riruzo Deror.ini" || e2e_fail "falta $key"
done
echo "PASS"
