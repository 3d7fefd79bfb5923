#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each of them for SECONDS (default 60),
# as many at once as FUZZ_JOBS says (default: the cores, at most two). Each
# target starts from generated seeds, the committed regression inputs and
# what its earlier runs kept under build/fuzz/corpus/. A crash, a sanitizer
# report, a leak, an input that takes over 5 seconds or over 512 MB fails the
# run: the input is kept under build/fuzz/findings/ and the exit status is 1.
# Naming targets (e.g. unpack_fuzzer) runs only those.
#
#   scripts/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if [[ ! "$seconds" =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS [TARGET...]]" >&2
  exit 2
fi
chosen=("${@:2}")
cores=$(nproc)
jobs=${FUZZ_JOBS:-$((cores < 2 ? cores : 2))}

scripts/bootstrap.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$cores"

build=build/fuzz
bin=$build/tests/fuzz
seeds=$build/seeds
rm -rf "$seeds"
"$bin/quillmere-fuzz-seeds" "$seeds" "${QUILLMERE_CORPUS_DIR:-../shared/corpus}"
cat tests/fuzz/zip.dict tests/fuzz/xml.dict >"$build/package.dict"
mkdir -p "$build/corpus" "$build/findings" "$build/logs"

# The targets write each input to a file, and unpack, under one folder that
# goes when the script ends; in memory when the system has /dev/shm.
scratch_parent=/dev/shm
[[ -d "$scratch_parent" && -w "$scratch_parent" ]] || scratch_parent=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$scratch_parent/quill-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export QUILLMERE_FUZZ_SCRATCH=$scratch
export UBSAN_OPTIONS=print_stacktrace=1

# target, seed folder, dictionary
targets=(
  "zip_directory_fuzzer archive tests/fuzz/zip.dict"
  "extraction_fuzzer archive tests/fuzz/zip.dict"
  "unpack_fuzzer archive tests/fuzz/zip.dict"
  "xml_model_fuzzer xml tests/fuzz/xml.dict"
  "package_reader_fuzzer package $build/package.dict"
  "registry_store_fuzzer registry tests/fuzz/registry.dict"
  "desktop_entry_fuzzer desktop tests/fuzz/desktop.dict"
)

run_target() {
  local name=$1 seedSet=$2 dictionary=$3
  local corpus=$build/corpus/$name log=$build/logs/$name.log
  local inputs=("$corpus" "$seeds/$seedSet")
  [[ -d tests/fuzz/regressions/$name ]] && inputs+=("tests/fuzz/regressions/$name")
  mkdir -p "$corpus"
  if "$bin/$name" "${inputs[@]}" -dict="$dictionary" -max_total_time="$seconds" \
      -rss_limit_mb=512 -timeout=5 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$name-" >"$log" 2>&1; then
    echo "$name: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)"
  else
    echo "$name: FINDING (log $log)"
    grep -v -E '^#[0-9]+[[:space:]]' "$log" | tail -n 60
    return 1
  fi
}

failed=0
running=0
for target in "${targets[@]}"; do
  if ((${#chosen[@]} > 0)) && [[ " ${chosen[*]} " != *" ${target%% *} "* ]]; then
    continue
  fi
  if ((running >= jobs)); then
    wait -n || failed=1
    running=$((running - 1))
  fi
  # shellcheck disable=SC2086  # the entry's three words are the arguments
  run_target $target &
  running=$((running + 1))
done
while ((running > 0)); do
  wait -n || failed=1
  running=$((running - 1))
done

if ((failed)); then
  echo "Fuzzing found faults; the inputs are in $build/findings/" >&2
  exit 1
fi
echo "Fuzzing: no findings in ${seconds} s per target"
