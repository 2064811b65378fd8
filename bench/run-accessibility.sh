#!/bin/bash
# Runs bench_accessibility with the real accessibility bridge: a private X server, a
# private session bus and the AT-SPI bus on it, the bridge forced on.
#   bench/run-accessibility.sh build/bench/bench_accessibility [benchmark arguments]
# With READER=1 a minimal screen reader (tests/e2e/atspi_reader.py) listens on the bus
# too: the bridge then sends its events, and the reader asks for the line at the caret
# through the bus at every move; its slowest answers are printed at the end. While it
# listens, Qt hands every key to the bus before the window sees it, so the caret figures
# of such a run time only the handing over: read Open, the layout and the reader's answers.
set -u
here=$(dirname "$0")
. "$here/../tests/e2e/lib.sh"
bin=${1:?uso: run-accessibility.sh programa [argumentos]}
shift

e2e_start_display
e2e_start_atspi
if [ "${READER:-0}" = 1 ]; then
    log=$(mktemp)
    /usr/bin/python3 "$here/../tests/e2e/atspi_reader.py" "$log" &
    reader=$!
    trap 'kill $reader 2>/dev/null; rm -f "$log"; e2e_stop' EXIT
    for i in $(seq 100); do grep -q '^ready' "$log" && break; sleep 0.1; done
    grep -q '^ready' "$log" || e2e_fail "the reader did not start"
fi
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$bin" "$@"
rc=$?
if [ "${READER:-0}" = 1 ]; then
    echo
    echo "The reader's slowest answers over the bus (ms, offset, characters):"
    awk -F'\t' '$1 ~ /^[0-9]+$/ { print $4, $1, $2 }' "$log" | sort -rn | head -n 5
    echo "Answers: $(grep -c '^[0-9]' "$log")"
fi
exit $rc
