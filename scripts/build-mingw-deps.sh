#!/usr/bin/env bash
# Builds the C libraries the Windows build links (libpng, libjpeg-turbo, SQLite, libxml2; for the
# Windows test executables GoogleTest and cpp-httplib; nlohmann/json's header) from Debian's
# own source packages with the MinGW toolchain. Nothing prebuilt is downloaded: apt fetches the sources through a deb-src line
# handed to it on the command line, so the machine's apt configuration stays untouched.
#
# The result goes to a cache folder outside the checkout, named after the source versions,
# so every clone on this machine (and every CI run that keeps its cache) builds it once.
# Beside the libraries, share/orvo-origin/ records which source package each installed file
# came from, with that package's version and Debian copyright file: the Windows package's
# third-party notices are gathered from there (scripts/packaging/third_party_notices.py).
# Prints the prefix on its last line of output.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cache_root=${ORVO_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orvo-pm}
suite=${ORVO_DEBIAN_SUITE:-bookworm}
mirror=${ORVO_DEBIAN_MIRROR:-http://deb.debian.org/debian}
packages=(libpng1.6 libjpeg-turbo sqlite3 libxml2 googletest cpp-httplib nlohmann-json3)
# LZ4 blocks: Firefox keeps its add-on startup cache in "mozLz40" files.
packages+=(lz4)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial"
echo "deb-src $mirror $suite main" > "$work/src.list"
apt_opts=(-o "Dir::Etc::SourceList=$work/src.list" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$work/lists" -o Debug::NoLocking=1
          -o APT::Sandbox::User=root)

# The cache key needs the versions, which needs the source index: a cheap update (a few MB).
apt-get "${apt_opts[@]}" update -qq >/dev/null
key=""
for p in "${packages[@]}"; do
  v=$(apt-cache "${apt_opts[@]}" showsrc "$p" | awk '/^Version:/ {print $2; exit}')
  [ -n "$v" ] || { echo "build-mingw-deps: no source package $p" >&2; exit 1; }
  key+="$p=$v;"
  echo "$p $v" >>"$work/versions"
done
# The toolchain and this script's own recipe are part of what the prefix depends on.
key+="gcc=$(x86_64-w64-mingw32-gcc-posix -dumpversion);recipe=$(sha256sum "$0" | cut -c1-12)"
prefix="$cache_root/mingw-$(printf '%s' "$key" | sha256sum | cut -c1-16)"
# Several checkouts on one machine may ask at once: one builds, the others wait for it.
mkdir -p "$cache_root"
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

echo "build-mingw-deps: building $key" >&2
rm -rf "$prefix.tmp"
mkdir -p "$prefix.tmp" "$work/src"
cd "$work/src"
apt-get "${apt_opts[@]}" source -qq "${packages[@]}" >/dev/null 2>&1 || \
  apt-get "${apt_opts[@]}" source "${packages[@]}" >&2
jobs=$(nproc)
toolchain="$here/cmake/mingw-w64-x86_64.cmake"
cmake_cross=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain"
             -DORVO_MINGW_PREFIX="$prefix.tmp" -DCMAKE_INSTALL_PREFIX="$prefix.tmp")

# Each step below starts by asking src_of for its package's source tree, so src_of also
# marks where one package's files end: what appeared in the prefix since the previous
# package was named belongs to that package. (A step must name its own package before it
# installs anything.) claim_files writes the lists, src_of copies the copyright file.
origin=$prefix.tmp/share/orvo-origin
mkdir -p "$origin"
: >"$work/claimed"
claim_files() {
  (cd "$prefix.tmp" && find . ! -type d ! -path './share/orvo-origin/*' | sed 's|^\./||' | LC_ALL=C sort) \
    >"$work/present"
  LC_ALL=C comm -13 "$work/claimed" "$work/present" >>"$origin/$1.files"
  cp "$work/present" "$work/claimed"
}
src_of() {
  local dir current
  dir=$(find "$work/src" -maxdepth 1 -type d -name "$1-*" | head -n 1)
  current=$(cat "$work/current" 2>/dev/null || true)
  if [ "$current" != "$1" ]; then
    [ -z "$current" ] || claim_files "$current"
    echo "$1" >"$work/current"
    cp "$dir/debian/copyright" "$origin/$1.copyright"
    awk -v p="$1" '$1 == p {print $2}' "$work/versions" >"$origin/$1.version"
  fi
  echo "$dir"
}

# libpng (zlib from libz-mingw-w64-dev)
cmake -S "$(src_of libpng1.6)" -B "$work/b-png" "${cmake_cross[@]}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF >/dev/null
cmake --build "$work/b-png" -j "$jobs" >/dev/null
cmake --install "$work/b-png" >/dev/null

# libjpeg-turbo, without the SIMD parts (they need nasm and gain nothing for our pictures)
cmake -S "$(src_of libjpeg-turbo)" -B "$work/b-jpeg" "${cmake_cross[@]}" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF >/dev/null
cmake --build "$work/b-jpeg" -j "$jobs" >/dev/null
cmake --install "$work/b-jpeg" >/dev/null

# SQLite: generate the amalgamation with the host tools, then cross-compile that one file.
sq=$(src_of sqlite3)
mkdir -p "$work/b-sqlite-host"
(cd "$work/b-sqlite-host" && "$sq/configure" --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
x86_64-w64-mingw32-gcc-posix -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION \
  -c "$work/b-sqlite-host/sqlite3.c" -o "$work/b-sqlite-host/sqlite3.o"
mkdir -p "$prefix.tmp/lib" "$prefix.tmp/include"
x86_64-w64-mingw32-ar rcs "$prefix.tmp/lib/libsqlite3.a" "$work/b-sqlite-host/sqlite3.o"
cp "$work/b-sqlite-host/sqlite3.h" "$sq/src/sqlite3ext.h" "$prefix.tmp/include/" 2>/dev/null || \
  cp "$work/b-sqlite-host/sqlite3.h" "$prefix.tmp/include/"

# liblz4: only the block format (lib/lz4.c), which is all the "mozLz40" files use.
lz4_src=$(src_of lz4)
mkdir -p "$work/b-lz4" "$prefix.tmp/lib" "$prefix.tmp/include"
x86_64-w64-mingw32-gcc-posix -O2 -c "$lz4_src/lib/lz4.c" -o "$work/b-lz4/lz4.o"
x86_64-w64-mingw32-ar rcs "$prefix.tmp/lib/liblz4.a" "$work/b-lz4/lz4.o"
cp "$lz4_src/lib/lz4.h" "$prefix.tmp/include/"

# libxml2, for its HTML parser (the news window): static, without iconv (its own UTF-8,
# UTF-16 and ISO-8859 decoders serve), and without the network, catalogue, module and
# compression parts the program has no use for.
cmake -S "$(src_of libxml2)" -B "$work/b-xml" "${cmake_cross[@]}" \
  -DBUILD_SHARED_LIBS=OFF -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_LZMA=OFF \
  -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_PROGRAMS=OFF \
  -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF \
  -DLIBXML2_WITH_MODULES=OFF -DLIBXML2_WITH_CATALOG=OFF -DLIBXML2_WITH_DEBUG=OFF >/dev/null
cmake --build "$work/b-xml" -j "$jobs" >/dev/null
cmake --install "$work/b-xml" >/dev/null

# GoogleTest for the Windows test executables
cmake -S "$(src_of googletest)" -B "$work/b-gtest" "${cmake_cross[@]}" \
  -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=OFF >/dev/null
cmake --build "$work/b-gtest" -j "$jobs" >/dev/null
cmake --install "$work/b-gtest" >/dev/null

# Header-only pieces: cpp-httplib (loopback servers in the Windows tests) and nlohmann/json.
cp "$(src_of cpp-httplib)/httplib.h" "$prefix.tmp/include/"
cp -r "$(src_of nlohmann-json3)/single_include/nlohmann" "$prefix.tmp/include/"

claim_files "$(cat "$work/current")"
printf '%s\n' "$key" > "$prefix.tmp/.complete"
rm -rf "$prefix"
mv "$prefix.tmp" "$prefix"
echo "$prefix"
