#!/usr/bin/env bash
# Installs the Debian packages that building and testing Quillmere need, and
# only those that are missing. Quiet when everything is present.
set -euo pipefail

# The build: compiler, CMake, zlib, Qt 6 Widgets with D-Bus and SVG. The
# tests: GoogleTest, and dbus-daemon for the file-manager tests' private bus;
# the window benchmark in the README runs under xvfb-run.
packages=(
  g++ cmake make
  zlib1g-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libgtest-dev
  dbus xvfb xauth
)
# "bootstrap.sh fuzz" installs only what the fuzz step needs: clang with its
# sanitizer runtimes and libFuzzer, and the symbolizer for readable reports.
if [[ "${1:-}" == fuzz ]]; then
  packages=(clang-14 libclang-rt-14-dev llvm-14 cmake make zlib1g-dev)
fi
# "bootstrap.sh windows" installs only what the Windows cross build and its
# tests under Wine need: MinGW-w64, its zlib, GoogleTest's sources and Wine;
# for the desktop program also what builds its static Qt from Debian's source
# (the host Qt's tools, Ninja, dpkg-source), the host Qt Svg that renders the
# artwork, NSIS for the installer and an X server for the smoke test.
if [[ "${1:-}" == windows ]]; then
  packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64 cmake make
            g++ ninja-build dpkg-dev qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
            nsis zip xvfb xauth fonts-dejavu-core)
fi
# "bootstrap.sh format" installs only what scripts/check-format.sh needs:
# clang-format 14, whose output the committed sources match.
if [[ "${1:-}" == format ]]; then
  packages=(clang-format-14)
fi
# "bootstrap.sh package" installs only what building the Debian packages and
# checking them need: dpkg-buildpackage with debhelper, hardening-check
# (devscripts), the desktop-entry and metadata validators, lintian, man, bash's
# completion functions, xdg-mime, and mmdebstrap for a clean root to install
# the packages into.
if [[ "${1:-}" == package ]]; then
  packages=(dpkg-dev debhelper devscripts fakeroot file desktop-file-utils appstream lintian man-db
            bash-completion xdg-utils mmdebstrap)
fi
# "bootstrap.sh bench" installs only what the scan benchmark's network-share
# run needs: FUSE 3 and its Python binding, for the pass-through that adds a
# fixed delay to every request, and GNU time for the peak memory.
if [[ "${1:-}" == bench ]]; then
  packages=(fuse3 python3-fusepy time)
fi

# "bootstrap.sh producers" installs only what the real-producer test needs:
# the EPUB makers whose books it checks and the archiver that edits copies.
if [[ "${1:-}" == producers ]]; then
  packages=(python3 python3-ebooklib pandoc python3-sphinx zip)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

command="apt-get install -y --no-install-recommends ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root: apt-get update && $command" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
