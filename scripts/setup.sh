#!/bin/sh
# Installs the Debian packages that are missing, then configures and builds in ./build.
#   setup.sh           what building and running the editor needs; builds the editor
#   setup.sh --tests   that and what the tests need (a private X server and the tools that
#                      drive it, the screen-reader bus, and the word processors the RTF
#                      interoperability tests compare with); builds everything
# Run it directly or through run-editor.sh / run-tests.sh.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}

PACKAGES="build-essential cmake pkg-config ccache qt6-base-dev qt6-base-private-dev qt6-translations-l10n libgl-dev
  libbenchmark-dev fonts-liberation2"
TEST_PACKAGES="xvfb xauth xdotool xclip x11-utils poppler-utils python3 mount util-linux
  dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  libreoffice-writer-nogui abiword pandoc"

TARGET="--target riruzo-deror"
if [ "${1:-}" = "--tests" ]; then
  PACKAGES="$PACKAGES $TEST_PACKAGES"
  TARGET=""
fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -n "$missing" ]; then
  echo "Instalando paquetes que faltan:$missing"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
fi

JOBS=$(nproc 2>/dev/null || echo 2)
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo
# shellcheck disable=SC2086  # TARGET is two words or none
cmake --build "$BUILD_DIR" -j "$JOBS" $TARGET
