#!/usr/bin/env bash
# Builds the static Qt for 64-bit Windows that the windows-cross preset's
# desktop program links, from Debian's own qt6-base source (the same version
# as the build machine's Qt, whose tools the cross build uses), and installs
# it into the user's cache folder. Prints the prefix on standard output; does
# nothing but print it when that Qt is already there.
#
#   build-windows-qt.sh            build if needed, print the prefix
#   build-windows-qt.sh --prefix   only print where that Qt is (or would be)
#
# The prefix is keyed by the source version, the configure options and the
# compiler version, so a change to any of them builds a new Qt beside the old.
# About 20 minutes on two cores; the build folder (2 GB) is removed afterwards.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
compiler=x86_64-w64-mingw32-g++-posix
cache="${XDG_CACHE_HOME:-$HOME/.cache}/quillmere"

# One .exe with everything inside: a static Qt with static C and C++
# runtimes. FreeType draws text on the offscreen platform the window tests
# use; the modules and features the program does not use are left out, as is
# the tablet support, whose library Debian's source does not carry.
options=(
  -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32-
  -qt-host-path /usr -release -static -static-runtime
  -nomake examples -nomake tests
  -no-opengl -no-dbus -no-icu -no-libjpeg
  -qt-freetype -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-doubleconversion
  -no-feature-sql -no-feature-network -no-feature-printsupport
  -no-feature-concurrent -no-feature-xml -no-feature-tabletevent -no-feature-vulkan
)

source_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null || true)
if [[ -z "$source_version" ]]; then
  echo "qt6-base-dev is not installed: run scripts/bootstrap.sh windows first" >&2
  exit 1
fi
compiler_version=$("$compiler" -dumpfullversion 2>/dev/null || true)
if [[ -z "$compiler_version" ]]; then
  echo "$compiler is not installed: run scripts/bootstrap.sh windows first" >&2
  exit 1
fi
options_hash=$(printf '%s\n' "${options[@]}" | sha256sum | cut -c1-12)
key="qt-${source_version//[^A-Za-z0-9.]/_}-mingw-$compiler_version-$options_hash"
prefix="$cache/$key"

if [[ "${1:-}" == --prefix || -f "$prefix/.complete" ]]; then
  echo "$prefix"
  exit 0
fi

work="$cache/$key.build"
rm -rf "$work"
mkdir -p "$work/sources" "$work/lists/partial"
log="$work/build.log"
echo "Building Qt $source_version for Windows into $prefix (log: $log)" >&2

# Debian's source archive, given to apt through options alone so that the
# system's apt configuration and package lists stay as they are.
. /etc/os-release
cat >"$work/sources/debian-src.sources" <<EOF
Types: deb-src
URIs: ${QUILL_DEBIAN_MIRROR:-http://deb.debian.org/debian}
Suites: $VERSION_CODENAME
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_options=(
  -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/sources"
  -o "Dir::State::Lists=$work/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
)
apt-get "${apt_options[@]}" update -qq >>"$log" 2>&1
(cd "$work" && apt-get "${apt_options[@]}" source -qq "qt6-base=$source_version" >>"$log" 2>&1)
source_dir=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')

# A rebuild with other options compiles only what they change.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DQT_USE_CCACHE=ON)
fi
mkdir -p "$work/build"
fail() {
  tail -n 40 "$log" >&2
  echo "The Qt build failed; the whole log is $log" >&2
  exit 1
}
(
  cd "$work/build"
  "$source_dir/configure" -prefix "$prefix" "${options[@]}" -- -G Ninja \
    "-DCMAKE_TOOLCHAIN_FILE=$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${launcher[@]}"
  cmake --build . --parallel "${QUILL_JOBS:-$(nproc)}"
  cmake --install .
) >>"$log" 2>&1 || fail

touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
