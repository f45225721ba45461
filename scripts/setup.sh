#!/bin/sh
# Installs every Debian package the project needs to build, test and run.
# Idempotent: packages already present are skipped, so a second run is quick.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config git ccache clang libclang-rt-14-dev
qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-l10n-tools qt6-tools-dev libgl-dev
qt6-translations-l10n desktop-file-utils appstream dpkg-dev file debootstrap lintian
zlib1g-dev libzip-dev libpugixml-dev libsqlite3-dev libchm-dev fp-utils
libgtest-dev libgmock-dev googletest libbenchmark-dev
fonts-noto-cjk fonts-liberation2 xvfb x11-apps imagemagick xauth
python3 python3-openpyxl poppler-utils hyperfine
python3-dev pybind11-dev python3-numpy python3-pytest python3-matplotlib
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

if [ -n "$missing" ]; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
