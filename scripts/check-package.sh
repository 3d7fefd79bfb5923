#!/usr/bin/env bash
# Checks Quillmere as an installed desktop program: the desktop entry and the
# metadata of an installed tree validate; the Debian package builds, lintian
# finds no error in it and its dependencies are Debian's; and the programs
# unpacked from it work: quillmere-cli scans a generated library, shows its
# help and manual page and completes in bash, and quillmere tells its version
# without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
package=$(scripts/package.sh)
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

echo "== the installed tree"
cmake --install "$build" --prefix "$work/tree" >/dev/null
quietly desktop-file-validate "$work/tree/share/applications/org.quillmere.Quillmere.desktop"
quietly appstreamcli validate --no-net "$work/tree/share/metainfo/org.quillmere.Quillmere.metainfo.xml"

echo "== $package"
lintian --fail-on error --tag-display-limit 0 "$package"
version=$(dpkg-deb -f "$package" Version)
[[ $(dpkg-deb -f "$package" Depends) == *libqt6widgets6* ]] || fail "no dependencies were computed"
quietly apt-get install --simulate --no-install-recommends "$package"

root=$work/root
dpkg-deb -x "$package" "$root"
bin=$root/usr/bin
[[ $("$bin/quillmere-cli" --version) == "quillmere-cli $version" ]] || fail "quillmere-cli --version"
[[ $("$bin/quillmere-cli" --help) == usage:* ]] || fail "quillmere-cli --help"

# The unpacked program lists exactly the edited books of a generated library.
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
scan --|--explain --format --help --jobs --null --resolution --subfolders
unpack --|--help --to
unpack a.epub --to |Books
info |Books a.epub
scan --subfolders -- --|
CASES
echo "check-package.sh: all checks passed"
