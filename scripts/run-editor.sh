#!/bin/sh
# Sets up and builds the editor if needed, then starts it.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
exec "${BUILD_DIR:-$ROOT/build}/riruzo-deror"
