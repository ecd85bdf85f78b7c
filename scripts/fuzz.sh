#!/usr/bin/env bash
# The fuzz targets of fuzz/ under libFuzzer (clang, address and undefined-behaviour sanitizers).
#   scripts/fuzz.sh --list            the target names, one a line
#   scripts/fuzz.sh TARGET SECONDS    builds and runs one target from its seed corpus
#   scripts/fuzz.sh                   builds every target and runs each for 60 s
# RUNS=N ends a run after N inputs if that comes before its seconds (a long run: RUNS=10000000).
# Exits non-zero on any finding (crash, sanitizer report, an input slower than 2 s, a broken
# check); the input is kept under build-fuzz/findings/TARGET/. Copy it into
# tests/data/fuzz/TARGET/ once mended: the ordinary test run replays it from then on.
# The working corpus grows in build-fuzz/corpus/TARGET; fuzz/corpus/TARGET holds the seeds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

targets() {
  for f in "$root"/fuzz/entry/*.cpp; do basename "$f" .cpp; done
}

if [ "${1:-}" = "--list" ]; then
  targets
  exit 0
fi
if [ $# -ne 0 ] && [ $# -ne 2 ]; then
  echo "usage: scripts/fuzz.sh [--list | TARGET SECONDS]" >&2
  exit 2
fi
if [ $# -eq 2 ]; then
  if ! targets | grep -x -- "$1" >/dev/null; then
    echo "fuzz.sh: no target \"$1\" (see --list)" >&2
    exit 2
  fi
  case "$2" in ''|*[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number" >&2; exit 2 ;; esac
fi

# clang and its fuzzer runtime, from Debian's packages when missing.
have_libfuzzer() {
  command -v clang++ >/dev/null 2>&1 || return 1
  local probe
  probe=$(mktemp -d)
  printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }\n' >"$probe/p.cpp"
  local ok=0
  clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1 || ok=$?
  rm -rf "$probe"
  return $ok
}
if ! have_libfuzzer; then
  echo "fuzz.sh: installing clang and its fuzzer runtime" >&2
  "$root/scripts/install-deps.sh"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends clang libclang-rt-dev
  have_libfuzzer || { echo "fuzz.sh: clang cannot build fuzzers here" >&2; exit 1; }
fi

if [ ! -f "$build/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNELT_FUZZ=ON \
    "${launcher[@]}" >/dev/null
fi

# Runs one target; prints its summary line; returns libFuzzer's status.
run() {
  local name=$1 seconds=$2
  mkdir -p "$build/corpus/$name" "$build/findings/$name" "$build/logs"
  local log="$build/logs/$name.log" status=0 limit=()
  [ -n "${RUNS:-}" ] && limit=(-runs="$RUNS")
  # Qt's caches live as long as the program: only a leak within one input counts.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    nice -n 19 "$build/fuzz/fuzz-$name" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 "${limit[@]}" \
    -print_final_stats=1 -artifact_prefix="$build/findings/$name/" \
    "$build/corpus/$name" "$root/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  local runs cov took
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  echo "$name: ${runs:-?} runs in ${took:-?} s, ${cov:-?} edges, $([ $status -eq 0 ] && echo "no finding" || echo "FINDING (see $log and $build/findings/$name/)")"
  return $status
}

if [ $# -eq 2 ]; then
  cmake --build "$build" --target "fuzz-$1" -j2
  run "$1" "$2"
  exit $?
fi

cmake --build "$build" --target fuzzers -j2
failed=0
for name in $(targets); do
  run "$name" 60 || failed=1
done
exit $failed
