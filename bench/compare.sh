#!/usr/bin/env bash
# Times `varnelt-cli list DIR` against `kid3-cli -c 'cd DIR' -c ls` on the same folder with
# hyperfine, in one run (warm cache), and prints how many times faster varnelt-cli is.
#
#   bench/compare.sh [DIR] [VARNELT_CLI]
#
# DIR defaults to a folder of 1,000 generated MP3 files (made once under /tmp); VARNELT_CLI to
# build/src/varnelt-cli. Installs hyperfine and kid3-cli with apt when they are missing.
# Not part of the tests.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-/tmp/varnelt-compare-1000}
cli=${2:-$here/build/src/varnelt-cli}

need() {
    command -v "$1" >/dev/null 2>&1 && return
    echo "installing $2..." >&2
    if [ "$(id -u)" -eq 0 ]; then
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$2" >/dev/null
    else
        sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$2" >/dev/null
    fi
}
need hyperfine hyperfine
need kid3-cli kid3-cli

[ -x "$cli" ] || { echo "no varnelt-cli at $cli (build first)" >&2; exit 1; }

# 1,000 album-like files: a 512-byte ID3v2.3 tag, 3 s of 128 kbit/s 44.1 kHz MPEG-1 Layer III
# frames (padded, 418 bytes, as an encoder keeps the rate), an ID3v1 trailer on every other file.
if [ ! -d "$dir" ]; then
    mkdir -p "$dir"
    work=$(mktemp -d)
    { printf 'ID3\x03\x00\x00\x00\x00\x04\x00'; head -c 512 /dev/zero; } > "$work/tag"
    { printf '\xff\xfb\x92\x64'; head -c 414 /dev/zero; } > "$work/frame"
    for _ in $(seq 115); do cat "$work/frame"; done > "$work/audio"
    { printf 'TAG'; head -c 125 /dev/zero; } > "$work/v1"
    cat "$work/tag" "$work/audio" > "$work/plain.mp3"
    cat "$work/tag" "$work/audio" "$work/v1" > "$work/both.mp3"
    for i in $(seq -w 0 999); do
        if [ $((10#$i % 2)) -eq 0 ]; then cp "$work/both.mp3" "$dir/$i - Title.mp3"; else cp "$work/plain.mp3" "$dir/$i - Title.mp3"; fi
    done
    rm -rf "$work"
fi

export QT_QPA_PLATFORM=offscreen
csv=$(mktemp)
trap 'rm -f "$csv"' EXIT
hyperfine --warmup 3 --min-runs 10 --export-csv "$csv" \
    -n varnelt-cli "$(printf '%q list %q' "$cli" "$dir")" \
    -n kid3-cli "$(printf "kid3-cli -c %q -c ls" "cd \"$dir\"")"

# CSV columns: command,mean,stddev,median,user,system,min,max (seconds).
awk -F, 'NR > 1 { mean[$1] = $2 }
    END {
        if (mean["varnelt-cli"] > 0)
            printf "varnelt-cli list: %.1f ms, kid3-cli ls: %.1f ms, ratio: %.1f times faster\n",
                   mean["varnelt-cli"] * 1000, mean["kid3-cli"] * 1000, mean["kid3-cli"] / mean["varnelt-cli"]
    }' "$csv"
