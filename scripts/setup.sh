#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the benchmarks and the Debian package
# (cpack, dpkg-shlibdeps) need.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-tools-dev qt6-l10n-tools
    libsqlite3-dev sqlite3 libicu-dev
    libpq-dev postgresql-15
    libssl-dev patch
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libcli11-dev
    libpugixml-dev pxlib-dev gettext translate-toolkit
    libhunspell-dev hunspell-de-de hunspell-en-us
    clang libclang-rt-14-dev clang-format
    libglib2.0-dev
    fonts-dejavu-core fonts-wine adwaita-icon-theme hicolor-icon-theme
    xvfb xauth
    desktop-file-utils appstream groff-base
    dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
