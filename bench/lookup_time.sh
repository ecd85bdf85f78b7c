#!/usr/bin/env bash
# Times `varnelt-cli lookup` on local pages: the All Music Guide test album page opened directly,
# and reached through its search page (the filler submits the search; the search page counts as
# complete once loaded, so the album page is read at the next poll, a second after it opens). The pages of
# tests/data/lookup/site are served by python3's http.server on 127.0.0.1; the "Sites" settings
# of a temporary configuration point the site at it. Each time is the mean of RUNS runs (default
# 10), engine start included.
#
#   bench/lookup_time.sh [VARNELT_CLI] [RUNS]
#
# Not part of the tests.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$here/build/src/varnelt-cli}
runs=${2:-10}
[ -x "$cli" ] || { echo "no varnelt-cli at $cli (build first)" >&2; exit 1; }

work=$(mktemp -d)
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$here/tests/data/lookup/site" >/dev/null 2>&1 &
server=$!
trap 'kill $server; rm -rf "$work"' EXIT
mkdir -p "$work/config/Varnelt" "$work/album"
printf '[Sites]\namgHome=http://127.0.0.1:%s/amg/\namgDomain=127.0.0.1:%s/amg\n' "$port" "$port" \
    > "$work/config/Varnelt/Varnelt.conf"
cp "$here/tests/data/enc_cbr128.mp3" "$work/album/01.mp3"
for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/amg/')" 2>/dev/null && break
    sleep 0.1
done

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
mean_ms() {
    local total=0 start end
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$cli" lookup "$work/album" "$1" >/dev/null 2>&1
        end=$(date +%s%N)
        total=$((total + (end - start) / 1000000))
    done
    echo $((total / runs))
}
echo "album page:  $(mean_ms "http://127.0.0.1:$port/amg/album.html") ms"
echo "search page: $(mean_ms "http://127.0.0.1:$port/amg/") ms"
