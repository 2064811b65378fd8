#!/bin/sh
# Sets up and builds the editor and its tests if needed (with what the tests need besides
# the editor), then runs every test through CTest.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh" --tests
JOBS=$(nproc 2>/dev/null || echo 2)
cd "${BUILD_DIR:-$ROOT/build}"
exec ctest --output-on-failure -j "$JOBS"
