#!/bin/bash
# A bold toggle from the toolbar survives Save As, a reopen in a new window and a second save.
set -u
. "$(dirname "$0")/lib.sh"
bin=$1
xclient=$2        # "find WINDOW PICTURE" prints where the picture shows on the window
bold_picture=$3   # the toolbar's "Negrita" picture
dir=$(mktemp -d)
first=$dir/negrita.rtf
second=$dir/otra-vez.rtf

save_as() {  # $1: path typed into the "Guardar como" dialog
    e2e_save_as "$win" "$1"
    [ -s "$1" ] || e2e_fail "no se escribió $1"
}

# True when the file holds "negrita" inside bold text.
bold_in() {
    tr -d '\r\n' <"$1" | grep -Eq '\\b( |\\)[^}]*negrita|\\b negrita'
}

e2e_start_display
e2e_start_editor "$bin"
win=$(e2e_wait_window "Editor de textos....") || e2e_fail "la ventana principal no apareció"
sleep 0.5
e2e_type "$win" "negrita"
e2e_keys "$win" ctrl+a
# The "Negrita" button, found on the window by its picture.
at=$("$xclient" find "$win" "$bold_picture") || e2e_fail "no se ve el botón Negrita"
xdotool mousemove --window "$win" $at click 1
sleep 0.3
save_as "$first"
bold_in "$first" || e2e_fail "el texto guardado no está en negrita: $(cat "$first")"

e2e_keys "$win" alt+a n
sleep 0.5
e2e_open "$win" "$first"
save_as "$second"
bold_in "$second" || e2e_fail "la negrita no sobrevivió al reabrir: $(cat "$second")"
echo "PASS"
