#!/bin/bash
# Runs a QtTest program as a real X client on a private X server, with private settings.
#   run-qtest.sh /path/to/test-program [QtTest arguments]
set -u
. "$(dirname "$0")/lib.sh"
bin=${1:?uso: run-qtest.sh programa [argumentos]}
shift

e2e_start_display
E2E_TMP=$(mktemp -d)
XDG_CONFIG_HOME="$E2E_TMP/config" QT_QPA_PLATFORM=xcb LANG=es_ES.UTF-8 "$bin" "$@"
