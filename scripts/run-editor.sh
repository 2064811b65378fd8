#!/bin/sh
# Installs what building and running the editor needs, builds it if needed, then starts it.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
exec "${BUILD_DIR:-$ROOT/build}/riruzo-deror"
