#!/bin/bash
# Only plain text travels through the clipboard, whichever way the user goes: Ctrl+C and
# Ctrl+X offer plain-text targets only, and Ctrl+V takes the plain text when another
# program offers HTML beside it.
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
offer=$2

plain_targets="COMPOUND_TEXT MULTIPLE SAVE_TARGETS STRING TARGETS TEXT TIMESTAMP UTF8_STRING text/plain text/plain;charset=utf-8"

# Fails unless every target on the clipboard is a plain-text one (or X's own).
check_targets() {
    local when=$1 targets t
    targets=$(xclip -o -selection clipboard -t TARGETS 2>/dev/null | sort)
    [ -n "$targets" ] || e2e_fail "$when: el Portapapeles no ofrece nada"
    for t in $targets; do
        case " $plain_targets " in
            *" $t "*) ;;
            *) e2e_fail "$when: el Portapapeles ofrece $t (ofrece: $(echo $targets))" ;;
        esac
    done
    echo "$targets" | grep -qx 'text/plain' || e2e_fail "$when: falta text/plain"
}

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 0.5

# Bold text, so that a formatted copy would have something to carry.
e2e_keys "$win" ctrl+b
e2e_type "$win" "negrita"
e2e_keys "$win" ctrl+a ctrl+c
sleep 0.5
check_targets "Ctrl+C"
[ "$(e2e_clipboard)" = "negrita" ] || e2e_fail "Ctrl+C copió '$(e2e_clipboard)'"

e2e_keys "$win" ctrl+a ctrl+x
sleep 0.5
check_targets "Ctrl+X"
[ "$(e2e_clipboard)" = "negrita" ] || e2e_fail "Ctrl+X copió '$(e2e_clipboard)'"

# Another program offers plain text and HTML; the editor pastes the plain text.
"$offer" "llano" "<p><b>rico</b></p>" >"$E2E_TMP/offer.log" 2>&1 &
offer_pid=$!
for i in $(seq 50); do grep -q listo "$E2E_TMP/offer.log" 2>/dev/null && break; sleep 0.1; done
xclip -o -selection clipboard -t TARGETS | grep -qx 'text/html' \
    || e2e_fail "el otro programa no ofrece HTML"
e2e_keys "$win" ctrl+v
sleep 0.3
kill "$offer_pid" 2>/dev/null
e2e_keys "$win" ctrl+a ctrl+c
sleep 0.5
got=$(e2e_clipboard)
[ "$got" = "llano" ] || e2e_fail "Ctrl+V pegó '$got' en lugar de 'llano'"
echo "PASS"
