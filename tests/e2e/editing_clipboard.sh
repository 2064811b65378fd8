#!/bin/bash
# Only plain text travels between the editor and other X clients: Copy and Cut, from the Edit
# menu and with the keys, offer plain-text targets only (read back with xclip), Cut takes the
# text out of the document, and Ctrl+V takes the plain text when another program (xclient $2)
# offers HTML beside it.
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclient=$2
plain_targets="COMPOUND_TEXT MULTIPLE SAVE_TARGETS STRING TARGETS TEXT TIMESTAMP UTF8_STRING text/plain text/plain;charset=utf-8"

# Fails unless the clipboard holds $2 and offers plain-text targets (or X's own) only.
check_clipboard() {
    local targets t got
    got=$(e2e_clipboard)
    [ "$got" = "$2" ] || e2e_fail "tras $1 el Portapapeles tiene '$got', se esperaba '$2'"
    targets=$(xclip -o -selection clipboard -t TARGETS 2>/dev/null | sort)
    for t in $targets; do
        case " $plain_targets " in *" $t "*) ;; *) e2e_fail "$1: el Portapapeles ofrece $t ($(echo $targets))" ;; esac
    done
    echo "$targets" | grep -qx 'text/plain' || e2e_fail "$1: falta text/plain"
}

# Another program puts a marker on the clipboard, so that only the editor's own Copy or Cut
# can leave the document's text there.
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

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 0.5
# Bold text, so that a formatted copy would have something to carry.
e2e_keys "$win" ctrl+b
e2e_type "$win" "negrita"
for copy in "alt+e c" "ctrl+c"; do
    marker
    e2e_keys "$win" ctrl+a $copy
    sleep 0.5
    check_clipboard "copiar ($copy)" "negrita"
done
# What is typed at the end after a Cut is all the document holds.
text="negrita"
for cut in "alt+e t" "ctrl+x"; do
    marker
    e2e_keys "$win" ctrl+a $cut
    sleep 0.5
    check_clipboard "cortar ($cut)" "$text"
    e2e_keys "$win" ctrl+End
    e2e_type "$win" "z"
    got=$(document_text)
    [ "$got" = "z" ] || e2e_fail "tras cortar ($cut) el documento tiene '$got', se esperaba 'z'"
    text="z"
done

"$xclient" offer "llano" "<p><b>rico</b></p>" >"$E2E_TMP/offer.log" 2>&1 &
offer_pid=$!
for i in $(seq 50); do grep -q listo "$E2E_TMP/offer.log" 2>/dev/null && break; sleep 0.1; done
xclip -o -selection clipboard -t TARGETS | grep -qx 'text/html' || e2e_fail "el otro programa no ofrece HTML"
e2e_keys "$win" ctrl+a ctrl+v
sleep 0.3
kill "$offer_pid" 2>/dev/null
got=$(document_text)
[ "$got" = "llano" ] || e2e_fail "Ctrl+V pegó '$got' en lugar de 'llano'"
echo "PASS"
