#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build make
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libxml2-dev
  clang libclang-rt-14-dev
  # The desktop program (wxWidgets on GTK 3) and its GUI tests: a private X server, D-Bus with the
  # accessibility bus, AT-SPI from Python, X input, window properties (xprop) and screenshots, the
  # dialogs' font and icons.
  libwxgtk3.2-dev libgtk-3-dev pkgconf
  # tkcalc plot: PNG pictures through cairo, their texts through pango.
  libcairo2-dev libpango1.0-dev
  xvfb xauth x11-utils dbus-daemon at-spi2-core python3-pyatspi xdotool imagemagick
  fonts-dejavu-core adwaita-icon-theme
  # make setup: the package's library dependencies (dpkg-shlibdeps; file finds the programs in it).
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
