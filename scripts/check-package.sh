#!/usr/bin/env bash
# Checks Quillmere's Debian packages as a Debian user and a package sponsor
# would:
# - they build (scripts/package.sh; the tests are run by CI's test command), lintian --pedantic finds
#   no error, warning or pedantic tag in any of them, and hardening-check
#   passes on both programs;
# - a second build in another folder gives byte-identical packages;
# - the desktop entry and the metadata validate, and the entry claims EPUB
#   books only, never folders;
# - the programs unpacked from them work: quillmere-cli scans a generated
#   library, shows its help and manual page and completes in bash, and
#   quillmere tells its version without a display;
# - in a clean minimal root (made with mmdebstrap from Debian's archive when
#   this machine can make one) quillmere-cli installs without Qt or X, both
#   programs run, folders stay the file manager's, and removing both with
#   --purge leaves nothing of theirs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "check-package.sh: $*" >&2
  exit 1
}
quietly() {
  local output
  output=$("$@" 2>&1) || { echo "$output" >&2; fail "failed: $*"; }
}

echo "== building the packages twice, in two folders"
# Both leave the tests out (DEB_BUILD_OPTIONS=nocheck): CI's test command has
# run them on the same sources already. The second builds the source package
# that the first made, unpacked in a folder of another name and depth.
first=$(DEB_BUILD_OPTIONS=nocheck scripts/package.sh build/deb)
version=$(dpkg-parsechangelog -S Version)
second=$(realpath -m build/deb-again/second-build)
rm -rf "$second" && mkdir -p "$second"
quietly dpkg-source -x "$first/quillmere_$version.dsc" "$second/quillmere-$version"
(cd "$second/quillmere-$version" &&
  DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -j"$(nproc)" >"$second/build.log" 2>&1) ||
  { tail -n 60 "$second/build.log" >&2; fail "the second build failed"; }
packages=(quillmere_"$version"_amd64.deb quillmere-cli_"$version"_amd64.deb
          quillmere-dbgsym_"$version"_amd64.deb quillmere-cli-dbgsym_"$version"_amd64.deb)
for file in "${packages[@]}" quillmere_"$version".dsc quillmere_"$version".tar.xz; do
  [[ -f $first/$file ]] || fail "no $file was built"
  if ! cmp "$first/$file" "$second/$file"; then
    command -v diffoscope >/dev/null && diffoscope "$first/$file" "$second/$file" >&2
    fail "$file differs between two builds"
  fi
done

echo "== lintian"
lintian --pedantic --display-info --fail-on error,warning,pedantic --tag-display-limit 0 \
  "$first/quillmere_${version}_amd64.changes" | tee "$work/lintian"
! grep -i hardening "$work/lintian" || fail "lintian finds the programs not hardened"

root=$work/root
for package in "${packages[@]:0:2}"; do dpkg-deb -x "$first/$package" "$root"; done
bin=$root/usr/bin
# The code is compiled with -fcf-protection, but a program can only declare
# control-flow protection when every object it links does, and Debian 12's C
# start files (crt1.o, crti.o) declare none: no program linked here, /usr/bin/ls
# included, passes that one test, so it is not asked for.
quietly hardening-check --nocfprotection "$bin/quillmere" "$bin/quillmere-cli"
[[ $(dpkg-deb -f "$first/quillmere-cli_${version}_amd64.deb" Depends) != *qt6* ]] ||
  fail "quillmere-cli depends on Qt"

echo "== the desktop entry and the metadata"
entry=$root/usr/share/applications/org.quillmere.Quillmere.desktop
quietly desktop-file-validate "$entry"
quietly appstreamcli validate --no-net --pedantic \
  "$root/usr/share/metainfo/org.quillmere.Quillmere.metainfo.xml"
[[ $(grep '^MimeType=' "$entry") == 'MimeType=application/epub+zip;' ]] ||
  fail "the desktop entry claims more than EPUB books: $(grep '^MimeType=' "$entry")"

echo "== the unpacked programs"
[[ $("$bin/quillmere-cli" --version) == "quillmere-cli $version" ]] || fail "quillmere-cli --version"
[[ $("$bin/quillmere-cli" --help) == usage:* ]] || fail "quillmere-cli --help"

# The unpacked program lists exactly the edited books of a generated library.
cmake --build --preset default --target quillmere-sample-library >/dev/null
"$build/tools/quillmere-sample-library" --books 30 --edited 30 --seed 5 --print-edited \
  "$work/library" | sort >"$work/edited"
status=0
"$bin/quillmere-cli" scan --subfolders "$work/library" | sort >"$work/listed" || status=$?
[[ $status -eq 1 && -s $work/edited ]] || fail "scan ended with $status"
diff "$work/edited" "$work/listed" || fail "scan listed other books than the edited ones"

for program in quillmere-cli quillmere; do
  page=$root/usr/share/man/man1/$program.1.gz
  [[ -f $page ]] || fail "no manual page for $program"
  [[ $(MANWIDTH=80 man -l "$page" 2>/dev/null) == *"$program"* ]] || fail "man -l $page"
done

# The desktop program answers --version before it needs a display.
status=0
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 30 \
  "$bin/quillmere" --version 2>&1) || status=$?
[[ $status -eq 0 && $output == "quillmere $version" ]] ||
  fail "quillmere --version ended with $status: $output"

# Completion: the words typed so far, then the completions expected.
completion=$root/usr/share/bash-completion/completions/quillmere-cli
mkdir -p "$work/complete/Books" && touch "$work/complete/a.epub" "$work/complete/notes.txt"
complete_words() {
  (cd "$work/complete" && bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    shift
    COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMP_POINT=${#COMP_LINE}
    _quillmere_cli quillmere-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' _ "$completion" quillmere-cli "$@")
}
while IFS='|' read -r typed expected; do
  read -ra words <<<"$typed"
  [[ -z $typed || $typed == *' ' ]] && words+=('')
  got=$(complete_words "${words[@]}")
  [[ $got == "$expected" ]] || fail "completing '$typed': '$got', not '$expected'"
done <<'CASES'
|--help --version info scan unpack view
s|scan
scan --re|--resolution
scan --resolution |day full hour min sec
view --format |json text
scan --format |json text tsv
scan --|--explain --files-from --format --help --jobs --null --resolution --subfolders
unpack --|--help --to
unpack a.epub --to |Books
info |Books a.epub
scan --subfolders -- --|
CASES

echo "== a clean root"
# What runs inside the root, from /tmp/quill with the two packages and a
# generated library beside it.
mkdir "$work/quill"
cat >"$work/quill/in-root.sh" <<'EOF'
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
cd /tmp/quill
fail() {
  echo "in the clean root: $*" >&2
  exit 1
}
apt-get install -y -qq --no-install-recommends ./quillmere-cli_*.deb >/dev/null
if dpkg-query -W -f '${db:Status-Abbrev} ${Package}\n' | grep -E '^ii +(libqt|libx11|libxcb|libgl)'; then
  fail "installing quillmere-cli alone brought the libraries above"
fi
status=0
quillmere-cli scan --subfolders library >/dev/null || status=$?
[[ $status -eq 1 ]] || fail "quillmere-cli scan ended with $status"
# The window's package with the one it recommends, and the desktop database
# that file managers and xdg-mime read.
apt-get install -y -qq --no-install-recommends ./quillmere_*.deb xdg-utils desktop-file-utils \
  >/dev/null
[[ $(quillmere --version) == "quillmere $(dpkg-query -W -f '${Version}' quillmere)" ]] ||
  fail "quillmere --version"
[[ $(xdg-mime query default application/epub+zip) == org.quillmere.Quillmere.desktop ]] ||
  fail "EPUB books do not open in Quillmere"
[[ $(xdg-mime query default inode/directory) != *quillmere* ]] || fail "folders open in Quillmere"
dpkg-query -L quillmere quillmere-cli | sort -u >files
apt-get remove -y -qq --purge quillmere quillmere-cli >/dev/null
while read -r file; do
  [[ -d $file && ! -L $file ]] && continue
  [[ ! -e $file && ! -L $file ]] || fail "$file is left after purging"
done <files
if ls -d /usr/share/doc/quillmere* /var/lib/dpkg/info/quillmere* 2>/dev/null; then
  fail "purging left the files above"
fi
EOF
cp "$first/${packages[0]}" "$first/${packages[1]}" "$work/quill/"
"$build/tools/quillmere-sample-library" --books 10 --edited 50 --seed 3 "$work/quill/library" \
  >/dev/null
# The hook runs on this machine: it keeps the script's exit status here, so
# that a root that could not be made is told apart from packages that fail.
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-stable}")
if command -v mmdebstrap >/dev/null; then
  mmdebstrap --variant=minbase --format=null --quiet \
    --customize-hook="copy-in $work/quill /tmp" \
    --customize-hook="chroot \"\$1\" bash /tmp/quill/in-root.sh >&2; echo \$? >$work/in-root" \
    "$suite" /dev/null 2>"$work/root.log" || true
fi
if [[ ! -f $work/in-root ]]; then
  tail -n 5 "$work/root.log" >&2 || true
  echo "check-package.sh: no clean root could be made here: only the unpacked packages were checked"
elif [[ $(cat "$work/in-root") != 0 ]]; then
  cat "$work/root.log" >&2
  fail "the packages failed in a clean root"
fi
echo "check-package.sh: all checks passed"
