#!/usr/bin/env bash
# Installs, with apt-get, everything the two builds, the tests, the Wine runs and the
# screenshots need. Safe to run again: when every package is present it only asks dpkg and
# returns in well under a second, so ./run.sh and ./test.sh can call it every time.
set -euo pipefail

packages=(
  # native build
  build-essential cmake ninja-build ccache pkg-config git ca-certificates
  libpng-dev zlib1g-dev libjpeg-dev libsqlite3-dev sqlite3
  libfreetype-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcurl4-openssl-dev libcpp-httplib-dev libxml2-dev
  liblz4-dev
  # windows cross build (zlib is Debian's MinGW build; the rest is built from source)
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev dpkg-dev tcl
  # running and looking at the windows build
  wine wine64 xvfb xauth imagemagick
  # the windows package (scripts/package.sh) and its checks
  wixl msitools python3
  # the fuzz preset (clang with libFuzzer and the sanitizer runtimes), scripts/lint.sh and
  # scripts/format.sh
  clang libclang-rt-dev clang-tidy clang-format
  # fonts the portable text back end and the golden images rely on
  fonts-dejavu-core fonts-liberation fonts-wine fontconfig
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "install-deps: missing packages (${missing[*]}) and not root; run this script as root" >&2
    exit 1
  fi
else
  SUDO=
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
