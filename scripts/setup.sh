#!/bin/sh
# Installs the Debian packages the editor needs (only those missing: the word processors
# are for the RTF interoperability tests), then configures and
# builds it in ./build. Sourced-free: run it directly or through run-editor.sh / run-tests.sh.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-"$ROOT/build"}

PACKAGES="build-essential cmake pkg-config qt6-base-dev qt6-translations-l10n libgl-dev
  libgtest-dev libbenchmark-dev xvfb xauth xdotool xclip poppler-utils python3 ccache
  mount util-linux fonts-liberation2 dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
  libreoffice-writer-nogui abiword pandoc"

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
cmake --build "$BUILD_DIR" -j "$JOBS"
