#!/bin/bash
# Helpers for real-window tests: e2e_start_display, e2e_start_editor BIN (a private XDG_CONFIG_HOME,
# $E2E_CONFIG), win=$(e2e_wait_window TITLE), e2e_keys "$win" ctrl+n, e2e_type "$win" hola.
E2E_XVFB_PID="" E2E_EDITOR_PID="" E2E_CONFIG="" E2E_TMP="" E2E_BUS_PID="" E2E_ATSPI_PID="" E2E_RUNTIME=""

# A failure says whether the editor still runs, what it and Xvfb wrote, and the X server's windows.
e2e_fail() {
    {
        echo "FAIL: $*"
        echo "--- editor (pid ${E2E_EDITOR_PID:-none}):"
        if [ -n "$E2E_EDITOR_PID" ] && kill -0 "$E2E_EDITOR_PID" 2>/dev/null; then
            echo "still running (elapsed, cpu, state): $(ps -o etime=,time=,stat= -p "$E2E_EDITOR_PID" | xargs)"
            sed 's/^/  /' "/proc/$E2E_EDITOR_PID/task/"*/wchan 2>/dev/null | sort | uniq -c
        elif [ -n "$E2E_EDITOR_PID" ]; then
            wait "$E2E_EDITOR_PID" 2>/dev/null
            echo "ended, status $?"
        fi
        [ -f "$E2E_TMP/editor.log" ] && echo "--- editor output:" && tail -n 100 "$E2E_TMP/editor.log"
        [ -f "$E2E_RUNTIME/xvfb.log" ] && echo "--- Xvfb:" && tail -n 30 "$E2E_RUNTIME/xvfb.log"
        echo "--- windows on $DISPLAY:"
        for id in $(xdotool search --name '' 2>/dev/null); do
            echo "  $id $(xdotool getwindowname "$id" 2>/dev/null)"
        done | head -n 40
    } >&2
    exit 1
}

# A private X server and runtime folder, cut off from the desktop's buses and session manager.
e2e_start_display() {
    E2E_RUNTIME=$(mktemp -d)
    export XDG_RUNTIME_DIR=$E2E_RUNTIME
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER
    command -v Xvfb >/dev/null || e2e_fail "Xvfb no está instalado"
    local n=""
    mkfifo "$E2E_RUNTIME/xvfb-ready"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_RUNTIME/xvfb-ready" >"$E2E_RUNTIME/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    read -r -t 60 n <"$E2E_RUNTIME/xvfb-ready"
    [ -n "$n" ] || e2e_fail "no se pudo arrancar Xvfb"
    export DISPLAY=":$n"
}

# A private session bus with the AT-SPI bus on it, as a desktop with a screen reader has.
e2e_start_atspi() {
    local bus
    bus=$(mktemp -d)
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$bus/address" 4>"$bus/pid" ||
        e2e_fail "no se pudo arrancar dbus-daemon"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus/address")
    E2E_BUS_PID=$(head -n1 "$bus/pid") && rm -rf "$bus"
    [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || e2e_fail "dbus-daemon no dio su dirección"
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    E2E_ATSPI_PID=$!
    sleep 1
}

e2e_start_editor() {
    [ -x "$1" ] || e2e_fail "no existe el ejecutable $1"
    E2E_TMP=$(mktemp -d)
    E2E_CONFIG="$E2E_TMP/config"
    XDG_CONFIG_HOME="$E2E_CONFIG" QT_QPA_PLATFORM=xcb LANG=es_ES.UTF-8 "$1" >"$E2E_TMP/editor.log" 2>&1 &
    E2E_EDITOR_PID=$!
}

# The first visible window titled $1, waited for up to $2 seconds or until the editor ends.
e2e_wait_window() {
    local i id
    for i in $(seq $((${2:-60} * 10))); do
        id=$(xdotool search --onlyvisible --name "^${1//./\\.}\$" 2>/dev/null | head -n1)
        [ -n "$id" ] && echo "$id" && return 0
        [ -n "$E2E_EDITOR_PID" ] && ! kill -0 "$E2E_EDITOR_PID" 2>/dev/null && return 1
        sleep 0.1
    done
    return 1
}

# Gives window $1 the keyboard, then sends the keys that follow (xdotool key names).
e2e_keys() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    local key
    for key in "${@:2}"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.15
    done
}

e2e_type() {
    xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
    xdotool type --delay 30 "${*:2}"
    sleep 0.2
}

# Runs a file command by its menu keys ($2 $3) from window $1; types path $5 into dialog $4.
e2e_file_dialog() {
    local dlg
    e2e_keys "$1" "$2" "$3"
    dlg=$(e2e_wait_window "$4") || e2e_fail "no apareció el diálogo $4"
    e2e_keys "$dlg" ctrl+a
    e2e_type "$dlg" "$5"
    e2e_keys "$dlg" Return
    sleep 1
}
e2e_save_as() { e2e_file_dialog "$1" alt+a u "Guardar como" "$2"; }
e2e_open() { e2e_file_dialog "$1" alt+a b "Abrir" "$2"; }
e2e_clipboard() { xclip -o -selection clipboard 2>/dev/null; }

e2e_stop() {
    kill $E2E_EDITOR_PID $E2E_XVFB_PID $E2E_ATSPI_PID $E2E_BUS_PID 2>/dev/null
    E2E_EDITOR_PID="" E2E_XVFB_PID="" E2E_ATSPI_PID="" E2E_BUS_PID=""
    [ "${E2E_KEEP:-0}" != 1 ] && rm -rf "$E2E_TMP" "$E2E_RUNTIME" 2>/dev/null
    E2E_TMP="" E2E_RUNTIME=""
}
trap e2e_stop EXIT
