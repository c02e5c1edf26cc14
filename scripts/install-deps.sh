#!/usr/bin/env bash
# Installs the Debian 12 packages the station needs to build, run and test, and every program the
# scripts call. clang-14 makes the sanitizer and fuzz build; its libFuzzer and sanitizer runtimes
# (libclang-rt-14-dev) are only recommended by it, so they are named here. ccache keeps compiled
# files between builds; git lists the files the layout check reads; CPack's dependency scan for
# the Debian package needs dpkg-shlibdeps (dpkg-dev) and `file`; the end-to-end tests mount a
# small file system (mount).
# Qt Charts does not configure without the OpenGL development files, which it only recommends. The
# PostgreSQL server runs the plant database tests (a server of the test's own; the system's cluster
# is not used). tallion-plant serves its pages with cpp-httplib (HTTPS through OpenSSL) and checks
# its users' passwords with libxcrypt; its browser tests drive headless Chromium through its
# WebDriver from Python, and its TLS test makes a certificate with the openssl command.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache git dpkg-dev file mount
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libcups2-dev
  qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
  libgtest-dev libgmock-dev
  clang-14 libclang-rt-14-dev clang-format-14
  xvfb xauth x11-apps imagemagick fonts-dejavu-core
  cups-daemon cups-client cups poppler-utils
  libpq-dev postgresql-15
  libcpp-httplib-dev libssl-dev libcrypt-dev openssl chromium chromium-driver python3-selenium
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
