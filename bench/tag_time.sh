#!/usr/bin/env bash
# Times `varnelt-cli tag` over a folder of COUNT files (default 1000), copies of the small encoded
# fixture: a fill that gives every file its first ID3v2 tag (each file is rewritten as a whole,
# safely, through a checked copy), the same fill again (the tag is rewritten where it stands),
# then track numbering with the total. With strace installed it also counts the system calls
# per file of the numbering.
#
#   bench/tag_time.sh [VARNELT_CLI] [COUNT]
#
# Not part of the tests.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$here/build/src/varnelt-cli}
count=${2:-1000}
[ -x "$cli" ] || { echo "no varnelt-cli at $cli (build first)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/album" "$work/config"
for i in $(seq -w 1 "$count"); do
    cp "$here/tests/data/enc_cbr128.mp3" "$work/album/$i.mp3"
done
export XDG_CONFIG_HOME="$work/config"

timed() {
    local label=$1 start end
    shift
    sync
    start=$(date +%s%N)
    "$cli" tag "$work/album" "$@" --yes >"$work/out.txt" 2>/dev/null
    end=$(date +%s%N)
    printf '%-40s %6d ms for %d files (%d lines)\n' "$label" $(((end - start) / 1000000)) "$count" \
        "$(wc -l <"$work/out.txt")"
}

timed "fill, first ID3v2 tag (whole rewrite)" --fill v2:Album=Live --fill v1:Artist=Someone
timed "fill again (tag rewritten in place)" --fill v2:Album=Live2 --fill v2:Composer=Writer
timed "track numbering with total" --number --total

if command -v strace >/dev/null; then
    strace -f -c -o "$work/strace.txt" "$cli" tag "$work/album" --number --yes >/dev/null 2>&1
    awk -v n="$count" '$NF ~ /^(openat|read|pread64|write|pwrite64|lseek|fsync)$/ {
        printf "  %-8s %5.1f per file\n", $NF, $4 / n }' "$work/strace.txt"
fi
