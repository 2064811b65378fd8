#!/bin/bash
# The built editor on a private X server, driven by keys and one click: text made bold with the
# toolbar's "Negrita" (found on the window by its picture) goes out through Save As under a typed
# path, comes back through Open and is saved bold again; Copy offers plain text only and Ctrl+V takes
# the plain text when another X client offers HTML beside it; Ctrl+N opens an empty document;
# Archivo > Salir by keyboard ends the editor, which writes its placement.
#   shell_smoke.sh riruzo-deror xclient bold-picture
set -u
. "$(dirname "$0")/lib.sh"
bin=$1 xclient=$2 bold_picture=$3 dir=$(mktemp -d)
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
save_bold() {  # $1: path typed into the "Guardar como" dialog, which must hold "negrita" in bold
    e2e_save_as "$win" "$1"
    tr -d '\r\n' <"$1" | grep -Eq '\\b( |\\)[^}]*negrita|\\b negrita' ||
        e2e_fail "$1 no tiene 'negrita' en negrita: $(cat "$1" 2>/dev/null)"
}

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "no aparece la ventana principal"
sleep 0.5
e2e_type "$win" "negrita"
e2e_keys "$win" ctrl+a
at=$("$xclient" find "$win" "$bold_picture") || e2e_fail "no se ve el botón Negrita"
xdotool mousemove --window "$win" $at click 1
sleep 0.3
save_bold "$dir/negrita.rtf"
e2e_keys "$win" alt+a n
sleep 0.5
e2e_open "$win" "$dir/negrita.rtf"
got=$(document_text)
[ "$got" = "negrita" ] || e2e_fail "se abrió '$got', se esperaba 'negrita'"
save_bold "$dir/otra-vez.rtf"

"$xclient" offer "llano" "<p><b>rico</b></p>" >"$dir/offer.log" 2>&1 &
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

e2e_keys "$win" alt+a s
for i in $(seq 150); do kill -0 "$E2E_EDITOR_PID" 2>/dev/null && sleep 0.1; done
kill -0 "$E2E_EDITOR_PID" 2>/dev/null && e2e_fail "el editor no terminó con Alt+A, S"
E2E_EDITOR_PID=""
for key in MainLeft MainTop MainWidth MainHeight; do
    grep -Eq "^$key=-?[0-9]+(\.[0-9]+)?$" "$E2E_CONFIG/Riruzo Deror/Riruzo Deror.ini" || e2e_fail "falta $key"
done
echo "PASS"
