#!/bin/sh
# Sets up and builds the editor if needed, then runs every test through CTest.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
JOBS=$(nproc 2>/dev/null || echo 2)
cd "${BUILD_DIR:-$ROOT/build}"
exec ctest --output-on-failure -j "$JOBS"
