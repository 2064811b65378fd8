#!/bin/bash
# Runs bench_accessibility with the real accessibility bridge: a private X server, a
# private session bus and the AT-SPI bus on it, the bridge forced on.
#   bench/run-accessibility.sh build/bench/bench_accessibility [benchmark arguments]
set -u
. "$(dirname "$0")/../tests/e2e/lib.sh"
bin=${1:?uso: run-accessibility.sh programa [argumentos]}
shift

e2e_start_display
bus=$(mktemp -d)
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$bus/address" 4>"$bus/pid"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus/address")
bus_pid=$(head -n1 "$bus/pid")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$bin" "$@"
rc=$?
kill "$launcher" 2>/dev/null
kill "$bus_pid" 2>/dev/null
rm -rf "$bus"
exit $rc
