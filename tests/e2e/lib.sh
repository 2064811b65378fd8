#!/bin/bash
# Helpers for real-window tests: source this file, then
#   e2e_start_display; e2e_start_editor /path/to/riruzo-deror
#   win=$(e2e_wait_window "Editor de textos....")
#   e2e_keys "$win" ctrl+n; e2e_type "$win" "hola"
#   e2e_wait_exit 10; e2e_stop
# The editor runs with a private XDG_CONFIG_HOME ($E2E_CONFIG); its settings file is
# "$E2E_CONFIG/Riruzo Deror/Riruzo Deror.ini". e2e_stop runs on exit by itself.

E2E_XVFB_PID=""
E2E_EDITOR_PID=""
E2E_CONFIG=""
E2E_TMP=""
E2E_BUS_PID=""
E2E_ATSPI_PID=""
E2E_RUNTIME=""
E2E_XVFB_LOG=""

e2e_fail() {
    echo "FAIL: $*" >&2
    e2e_report >&2
    exit 1
}

# What a failure needs to be understood on a machine we do not have: whether the editor
# still runs, what it wrote, and which windows the X server has.
e2e_report() {
    echo "--- editor (pid ${E2E_EDITOR_PID:-none}):"
    if [ -n "$E2E_EDITOR_PID" ]; then
        if kill -0 "$E2E_EDITOR_PID" 2>/dev/null; then
            echo "still running, $(ps -o etime=,time=,stat= -p "$E2E_EDITOR_PID" 2>/dev/null | xargs)"
            echo "  (elapsed, cpu time, state); its threads wait in:"
            sed 's/^/  /' "/proc/$E2E_EDITOR_PID/task/"*/wchan 2>/dev/null | sort | uniq -c
        else
            wait "$E2E_EDITOR_PID" 2>/dev/null
            echo "ended, status $?"
        fi
    fi
    if [ -n "$E2E_TMP" ] && [ -f "$E2E_TMP/editor.log" ]; then
        echo "--- editor output ($E2E_TMP/editor.log):"
        tail -n 100 "$E2E_TMP/editor.log"
    fi
    if [ -n "$E2E_XVFB_LOG" ] && [ -f "$E2E_XVFB_LOG" ]; then
        echo "--- Xvfb (pid ${E2E_XVFB_PID:-none}$(kill -0 "${E2E_XVFB_PID:-0}" 2>/dev/null || echo ", ended")):"
        tail -n 30 "$E2E_XVFB_LOG"
    fi
    echo "--- windows on $DISPLAY:"
    local id
    for id in $(xdotool search --name '' 2>/dev/null); do
        echo "  $id $(xdotool getwindowname "$id" 2>/dev/null)"
    done | head -n 40
    if command -v xwininfo >/dev/null; then
        xwininfo -root -children 2>&1 | head -n 40
    fi
    echo "--- end of report"
}

# Starts a private X server unless E2E_USE_DISPLAY=1 asks to use the current $DISPLAY, and
# cuts the tests off from the session they were started in: a private runtime folder, and
# no session bus, screen-reader bus or session manager of the desktop they may run on.
e2e_start_display() {
    E2E_RUNTIME=$(mktemp -d)
    chmod 700 "$E2E_RUNTIME"
    export XDG_RUNTIME_DIR=$E2E_RUNTIME
    unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SESSION_MANAGER
    if [ "${E2E_USE_DISPLAY:-0}" = 1 ] && [ -n "$DISPLAY" ]; then
        return 0
    fi
    command -v Xvfb >/dev/null || e2e_fail "Xvfb no está instalado"
    # Xvfb picks a free display itself and writes its number once it takes clients.
    E2E_XVFB_LOG="$E2E_RUNTIME/xvfb.log"
    local ready="$E2E_RUNTIME/xvfb-ready" n=""
    mkfifo "$ready"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready" >"$E2E_XVFB_LOG" 2>&1 &
    E2E_XVFB_PID=$!
    read -r -t 60 n <"$ready"
    rm -f "$ready"
    [ -n "$n" ] || e2e_fail "no se pudo arrancar Xvfb"
    export DISPLAY=":$n"
}

# Starts a private session bus and the AT-SPI bus on it, as a desktop with a screen
# reader has; programs started afterwards find them through the environment.
e2e_start_atspi() {
    local bus
    bus=$(mktemp -d)
    dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$bus/address" 4>"$bus/pid" ||
        e2e_fail "no se pudo arrancar dbus-daemon"
    DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus/address")
    E2E_BUS_PID=$(head -n1 "$bus/pid")
    rm -rf "$bus"
    [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || e2e_fail "dbus-daemon no dio su dirección"
    export DBUS_SESSION_BUS_ADDRESS
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    E2E_ATSPI_PID=$!
    sleep 1
}

# Starts the editor in the background with an isolated settings directory.
e2e_start_editor() {
    local bin=$1
    [ -x "$bin" ] || e2e_fail "no existe el ejecutable $bin"
    E2E_TMP=$(mktemp -d)
    E2E_CONFIG="$E2E_TMP/config"
    mkdir -p "$E2E_CONFIG"
    XDG_CONFIG_HOME="$E2E_CONFIG" QT_QPA_PLATFORM=xcb LANG=es_ES.UTF-8 \
        "$bin" >"$E2E_TMP/editor.log" 2>&1 &
    E2E_EDITOR_PID=$!
}

e2e_settings_file() {
    echo "$E2E_CONFIG/Riruzo Deror/Riruzo Deror.ini"
}

# Prints the id of the first window whose whole title is $1, waiting up to $2 seconds, or
# less when the editor has ended. The deadline is generous: a first start on a loaded
# machine may take far longer than the second of a usual one.
e2e_wait_window() {
    local name=$1 timeout=${2:-60} i id
    for i in $(seq $((timeout * 10))); do
        id=$(xdotool search --onlyvisible --name "^${name//./\\.}\$" 2>/dev/null | head -n1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        if [ -n "$E2E_EDITOR_PID" ] && ! kill -0 "$E2E_EDITOR_PID" 2>/dev/null; then
            return 1
        fi
        sleep 0.1
    done
    return 1
}

# Gives $1 the keyboard focus, then sends the keys that follow (xdotool key names).
e2e_keys() {
    local win=$1
    shift
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.15
    done
}

e2e_type() {
    local win=$1
    shift
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    xdotool type --delay 30 "$*"
    sleep 0.2
}

# Runs a file command through its menu keys ($2, $3) from window $1 and answers its
# dialog, titled $4, with the path $5 typed in full.
e2e_file_dialog() {
    local win=$1 k1=$2 k2=$3 title=$4 path=$5 dlg
    e2e_keys "$win" "$k1" "$k2"
    dlg=$(e2e_wait_window "$title") || e2e_fail "no apareció el diálogo $title"
    e2e_keys "$dlg" ctrl+a
    e2e_type "$dlg" "$path"
    e2e_keys "$dlg" Return
    sleep 1
}

e2e_save_as() { e2e_file_dialog "$1" alt+a u "Guardar como" "$2"; }
e2e_open() { e2e_file_dialog "$1" alt+a b "Abrir" "$2"; }

# The clipboard's text, as the editor left it (needs the editor still running).
e2e_clipboard() {
    xclip -o -selection clipboard 2>/dev/null
}

# Waits up to $1 seconds for the editor to end by itself.
e2e_wait_exit() {
    local timeout=${1:-10} i
    for i in $(seq $((timeout * 10))); do
        kill -0 "$E2E_EDITOR_PID" 2>/dev/null || { E2E_EDITOR_PID=""; return 0; }
        sleep 0.1
    done
    return 1
}

e2e_stop() {
    [ -n "$E2E_EDITOR_PID" ] && kill "$E2E_EDITOR_PID" 2>/dev/null
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    [ -n "$E2E_ATSPI_PID" ] && kill "$E2E_ATSPI_PID" 2>/dev/null
    [ -n "$E2E_BUS_PID" ] && kill "$E2E_BUS_PID" 2>/dev/null
    E2E_EDITOR_PID=""
    E2E_XVFB_PID=""
    E2E_ATSPI_PID=""
    E2E_BUS_PID=""
    if [ "${E2E_KEEP:-0}" != 1 ]; then
        [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
        [ -n "$E2E_RUNTIME" ] && rm -rf "$E2E_RUNTIME"
    fi
    E2E_TMP=""
    E2E_RUNTIME=""
}
trap e2e_stop EXIT
