#!/usr/bin/env bash
# Builds the image libraries of the Windows host (zlib, libpng, libtiff,
# libjpeg-turbo) as
# static mingw-w64 libraries from Debian's own source packages, which carry
# Debian's patches: Debian ships no mingw-w64 builds of them.
#
#   scripts/mingw_deps.sh [PREFIX]    (default: build/mingw-deps)
#
# Quick when PREFIX already holds this set of versions.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

prefix=$(realpath -m "${1:-$GS_BUILD/mingw-deps}")
sources=(zlib libpng1.6 tiff libjpeg-turbo)
stamp=$prefix/.gridsmith-deps
wanted="${sources[*]} v2"
[[ $(cat "$stamp" 2>/dev/null) == "$wanted" ]] && exit 0

work=$prefix.work
rm -rf "$work" "$prefix"
mkdir -p "$work/lists/partial" "$prefix"

# A private source list: the system's apt configuration stays as it is.
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
echo "deb-src http://deb.debian.org/debian $suite main" >"$work/sources.list"
mkdir -p "$work/cache/archives/partial"
apt_private=(-o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts=/dev/null
             -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache")
gs_log "mingw-deps: fetching the Debian sources of ${sources[*]}"
apt-get "${apt_private[@]}" update -qq
(cd "$work" && apt-get "${apt_private[@]}" source -qq "${sources[@]}" >/dev/null 2>&1) ||
  { gs_log "mingw-deps: apt-get source failed"; exit 1; }

toolchain=$GS_ROOT/cmake/mingw-w64-x86_64.cmake
cross=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain"
       -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix"
       -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF)
source_dir() { find "$work" -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -n 1; }

gs_log "mingw-deps: zlib"
zlib=$(source_dir zlib)
# The dfsg source has no win32 makefile; the library is these files alone.
mkdir -p "$work/zlib-build" "$prefix/lib"
for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
            inftrees trees uncompr zutil; do
  x86_64-w64-mingw32-gcc-posix -O2 -c "$zlib/$file.c" -o "$work/zlib-build/$file.o"
done
x86_64-w64-mingw32-ar rcs "$prefix/lib/libz.a" "$work/zlib-build"/*.o
install -D -m 644 -t "$prefix/include" "$zlib/zlib.h" "$zlib/zconf.h"

gs_log "mingw-deps: libpng"
cmake -S "$(source_dir libpng1.6)" -B "$work/png-build" "${cross[@]}" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
  -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DZLIB_LIBRARY="$prefix/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="$prefix/include" >/dev/null
cmake --build "$work/png-build" -j "$GS_JOBS" --target install >/dev/null

gs_log "mingw-deps: libtiff"
codecs=()
for codec in jpeg old-jpeg jbig lerc lzma zstd webp libdeflate pixarlog cxx; do codecs+=(-D"$codec"=OFF); done
cmake -S "$(source_dir tiff)" -B "$work/tiff-build" "${cross[@]}" "${codecs[@]}" -Dzlib=ON \
  -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
  -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" >/dev/null
cmake --build "$work/tiff-build" -j "$GS_JOBS" --target install >/dev/null

gs_log "mingw-deps: libjpeg-turbo"
# The library alone, without its programs, and without SIMD, which needs NASM:
# its C code decodes the same pixels.
jpeg=$(source_dir libjpeg-turbo)
cmake -S "$jpeg" -B "$work/jpeg-build" "${cross[@]}" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
  -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF -Wno-dev >/dev/null
cmake --build "$work/jpeg-build" -j "$GS_JOBS" --target jpeg-static >/dev/null
install -D -m 644 "$work/jpeg-build/libjpeg.a" "$prefix/lib/libjpeg.a"
install -D -m 644 -t "$prefix/include" "$jpeg/jpeglib.h" "$jpeg/jerror.h" "$jpeg/jmorecfg.h" \
  "$work/jpeg-build/jconfig.h"

rm -rf "$work"
echo "$wanted" >"$stamp"
gs_log "mingw-deps: installed in $prefix"
