#!/usr/bin/env bash
# What the undo journal and the read-back check cost varnelt-cli's changes, side by side with
# kid3-cli doing the comparable job without either, in one run:
#
#   album     a 20-file album renamed by a mask from its tags with new album fields written
#             (rename --id3 2) vs kid3-cli's "set" + "fromtag" + "save" on the same files
#   rename    a rename of COUNT files (default 1000) with the same mask, and its undo
#             (varnelt-cli only: kid3-cli keeps no journal)
#   fill+     a fill of a long comment into COUNT files whose tags must grow past their padding
#             (tag --fill --mode 2) vs kid3-cli's "set comment" + "save"
#   fill=     a fill of a short album name that fits the padding (the tag is written where it
#             stands) vs kid3-cli's "set album" + "save"
#
# Each time is the median of RUNS runs (default 5; BIG_RUNS, default 3, for the COUNT-file
# cases), every run on a fresh copy of the folder with a fresh journal folder, synced to the disk
# before the clock starts. One more run of each case under strace counts the flushes
# (fsync, fdatasync, syncfs, sync_file_range, msync) and the system calls per file, and for the
# rename of COUNT files the opens, reads and stats per file. The journal folder's size after the
# rename and after the growing fill is printed last.
#
# Every run is checked: its exit status, and afterwards the files themselves (new names present
# and old ones gone, the new tag values read back by python3-mutagen, the undo giving back the
# very bytes of the copy). A run that did not do its job stops the script with a message.
#
#   bench/journal_cost.sh [VARNELT_CLI]          env: RUNS, BIG_RUNS, COUNT, KEEP=1 keeps the folders
#
# The folders are made under a temporary folder on the disk (TMPDIR, else /var/tmp: tmpfs would
# make every flush free). Installs kid3-cli, strace and python3-mutagen with apt when missing.
# Not part of the tests.
set -euo pipefail
# The timed runs happen inside $(...): without this a failed run there would not stop the script.
shopt -s inherit_errexit

here=$(cd "$(dirname "$0")/.." && pwd)
cli=$(realpath "${1:-$here/build/src/varnelt-cli}")
runs=${RUNS:-5}
big_runs=${BIG_RUNS:-3}
count=${COUNT:-1000}
album_size=20

install_package() {
    echo "installing $1..." >&2
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$1" >/dev/null
}
command -v kid3-cli >/dev/null 2>&1 || install_package kid3-cli
command -v strace >/dev/null 2>&1 || install_package strace
# The checks read the tags with Debian's python3-mutagen, which only /usr/bin/python3 sees.
/usr/bin/python3 -c 'import mutagen' 2>/dev/null || install_package python3-mutagen

[ -x "$cli" ] || { echo "no varnelt-cli at $cli (build first)" >&2; exit 1; }
[ "$runs" -ge 1 ] && [ "$big_runs" -ge 1 ] && [ "$count" -ge 2 ] || { echo "RUNS, BIG_RUNS >= 1, COUNT >= 2" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/var/tmp}/varnelt-journal-cost.XXXXXX")
if [ "${KEEP:-0}" = 1 ]; then
    echo "folders kept in $work" >&2
else
    trap 'rm -rf "$work"' EXIT
fi
case "$(stat -f -c %T "$work")" in
    tmpfs|ramfs) echo "warning: $work is on $(stat -f -c %T "$work"): flushes cost nothing there" >&2 ;;
esac

# Both programs get their own empty settings; varnelt-cli's journals and locks go to data/.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME" "$XDG_CONFIG_HOME"

fail() {
    echo "journal_cost: $*" >&2
    for f in "$work"/out.txt "$work"/err.txt; do
        [ -s "$f" ] && { echo "--- $(basename "$f") (last lines):" >&2; tail -n 15 "$f" >&2; }
    done
    exit 1
}

# ---- the folders ----------------------------------------------------------------------------
# N real encoded files (the audio of tests/data/enc_cbr128.mp3, 1 s of CBR 128 kbit/s), each with
# an ID3v2.3 tag of its own: title "Song NNNN", track "n/N", the same artist, album and year,
# and 256 bytes of padding. Named "src NNNN.mp3", which the mask changes.
make_album() {
    /usr/bin/python3 - "$here/tests/data/enc_cbr128.mp3" "$1" "$2" <<'EOF'
import os, struct, sys
source, folder, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(source, 'rb').read()
if data[:3] == b'ID3':
    size = 0
    for b in data[6:10]:
        size = (size << 7) | (b & 0x7f)
    data = data[10 + size + (10 if data[5] & 0x10 else 0):]
if len(data) < 4 or data[0] != 0xff or (data[1] & 0xe0) != 0xe0:
    sys.exit('no MPEG frame at the start of the audio of ' + source)
def frame(fid, text):
    body = b'\x00' + text.encode('latin-1')
    return fid.encode() + struct.pack('>I', len(body)) + b'\x00\x00' + body
def syncsafe(v):
    return bytes([(v >> 21) & 0x7f, (v >> 14) & 0x7f, (v >> 7) & 0x7f, v & 0x7f])
os.makedirs(folder, exist_ok=True)
width = max(4, len(str(n)))
for i in range(1, n + 1):
    frames = (frame('TIT2', 'Song %0*d' % (width, i)) + frame('TPE1', 'Bench Artist')
              + frame('TALB', 'Bench Album') + frame('TRCK', '%d/%d' % (i, n)) + frame('TYER', '2024'))
    body = frames + b'\x00' * 256
    with open(os.path.join(folder, 'src %0*d.mp3' % (width, i)), 'wb') as f:
        f.write(b'ID3\x03\x00\x00' + syncsafe(len(body)) + body + data)
EOF
}

echo "making the folders ($album_size and $count files)..." >&2
make_album "$work/pristine-album" "$album_size"
make_album "$work/pristine-big" "$count"
[ "$(find "$work/pristine-big" -name '*.mp3' | wc -l)" -eq "$count" ] || fail "the $count files were not made"

# A fresh copy of a pristine folder at $work/run/album, an empty journal folder, all on the disk.
fresh() {
    rm -rf "$work/run" "$XDG_DATA_HOME"
    mkdir -p "$work/run" "$XDG_DATA_HOME"
    cp -a "$work/pristine-$1" "$work/run/album"
    sync
}

# ---- checks of what a run did -----------------------------------------------------------------
# The mask below names a file "<track> - <title>.mp3"; the numbers are padded as each program
# pads them, so the check asks only for the title part and the track number's value.
check_renamed() {
    local n=$1
    [ -z "$(find "$work/run/album" -maxdepth 1 -name 'src *.mp3' -print -quit)" ] \
        || fail "files still carry their old names: $(find "$work/run/album" -maxdepth 1 -name 'src *.mp3' | head -3)"
    local renamed
    renamed=$(find "$work/run/album" -maxdepth 1 -regextype posix-extended -regex '.*/0*[1-9][0-9]* - Song [0-9]+\.mp3' | wc -l)
    [ "$renamed" -eq "$n" ] || fail "$renamed of $n files carry the new names; the folder holds: $(ls "$work/run/album" | head -5)"
}

# Every file of the run's folder has FRAME = VALUE in its ID3v2 tag (mutagen, not the program under test).
check_tag() {
    /usr/bin/python3 - "$work/run/album" "$1" "$2" "$3" <<'EOF' || fail "tag check: $1 is not '${2:0:40}' in every file"
import os, sys
from mutagen.id3 import ID3
folder, fid, value, n = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
names = sorted(f for f in os.listdir(folder) if f.endswith('.mp3'))
if len(names) != n:
    sys.exit('%d files, %d expected' % (len(names), n))
bad = []
for name in names:
    frames = ID3(os.path.join(folder, name), load_v1=False).getall(fid)
    if not frames or str(frames[0].text[0]) != value:
        bad.append(name)
if bad:
    sys.exit('%d files without the value, first: %s' % (len(bad), bad[0]))
EOF
}

# The folder is the pristine one again, byte for byte, and the undo said so.
check_undone() {
    diff -r "$work/pristine-$1" "$work/run/album" >"$work/diff.txt" 2>&1 \
        || fail "the undo did not give back the folder: $(head -c 400 "$work/diff.txt")"
}

# ---- the jobs -----------------------------------------------------------------------------
# Each job runs its arguments in front of its command: nothing when timed, strace when counted.
mask='%track - %title'
long_comment=$(printf 'A long liner note that the padding cannot hold. %.0s' $(seq 40))
v_album() { "$@" "$cli" rename "$work/run/album" --mask "$mask" --dest "MP3 directory" --id3 2 --album "New Album" --comment "Bench run"; }
k_album() { "$@" kid3-cli -c "cd \"$work/run/album\"" -c "select all" -c "set album \"New Album\" 2" \
                    -c "set comment \"Bench run\" 2" -c "fromtag \"%{track} - %{title}\" 2" -c save; }
v_rename() { "$@" "$cli" rename "$work/run/album" --mask "$mask" --dest "MP3 directory" --id3 2; }
v_undo() { "$@" "$cli" undo; }
v_grow() { "$@" "$cli" tag "$work/run/album" --mode 2 --fill "v2:Comment=$long_comment" --yes; }
k_grow() { "$@" kid3-cli -c "cd \"$work/run/album\"" -c "select all" -c "set comment \"$long_comment\" 2" -c save; }
v_fit() { "$@" "$cli" tag "$work/run/album" --mode 2 --fill "v2:Album=Live" --yes; }
k_fit() { "$@" kid3-cli -c "cd \"$work/run/album\"" -c "select all" -c "set album Live 2" -c save; }

checks_album() { check_renamed "$album_size"; check_tag TALB "New Album" "$album_size"; check_tag COMM "Bench run" "$album_size"; }
checks_rename() { check_renamed "$count"; }
checks_grow() { check_tag COMM "$long_comment" "$count"; }
checks_fit() { check_tag TALB Live "$count"; }

# run_job JOB: runs it (output to out.txt/err.txt), fails on a non-zero exit status.
run_job() {
    "$1" >"$work/out.txt" 2>"$work/err.txt" || fail "$1 exited with status $?"
}

# time_job JOB: the job's wall time in ms on the current folder, printed to stdout.
time_job() {
    local start end
    start=$(date +%s%N)
    run_job "$1"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# measure FOLDER RUNS JOB CHECKS: median ms of RUNS runs, each on a fresh copy, each checked.
measure() {
    local folder=$1 n=$2 job=$3 checks=$4 times=()
    for _ in $(seq "$n"); do
        fresh "$folder"
        times+=("$(time_job "$job")")
        "$checks"
    done
    median "${times[@]}"
}

# count_calls FOLDER JOB CHECKS: one more run under strace; sets flushes, calls, opens, reads, stats.
count_calls() {
    fresh "$1"
    "$2" strace -f -c -o "$work/strace.txt" >"$work/out.txt" 2>"$work/err.txt" || fail "$2 under strace exited with status $?"
    "$3"
    read -r flushes calls opens reads stats < <(awk '
        # strace -c rows: %time seconds usecs/call calls [errors] syscall; the last is "total".
        $1 ~ /^[0-9.]+$/ && NF >= 5 {
            name = $NF; n = $4
            if (name == "total") total = n
            if (name ~ /^(fsync|fdatasync|syncfs|sync_file_range|msync|sync)$/) f += n
            if (name ~ /^(open|openat|openat2|creat)$/) o += n
            if (name ~ /^(read|pread64|readv|preadv|preadv2)$/) r += n
            if (name ~ /^(stat|lstat|fstat|newfstatat|statx|fstatat64|access|faccessat|faccessat2)$/) s += n
        }
        END { print f + 0, total + 0, o + 0, r + 0, s + 0 }' "$work/strace.txt")
}

# The bytes of the journal folder (wherever the per-user data folder puts it) of the last run;
# 0 when the run wrote no journal.
journal_bytes() {
    find "$XDG_DATA_HOME" -type f -path '*/Journals/*' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'
}

folder_bytes() { find "$1" -type f -name '*.mp3' -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }'; }

per_file() { awk -v a="$1" -v n="$2" 'BEGIN { printf "%.1f", a / n }'; }
ratio() { awk -v v="$1" -v k="$2" 'BEGIN { if (v > 0 && k != "-") printf "%.2f", k / v; else printf "-" }'; }

rows=()
# row CASE FILES VMS KMS VFLUSH KFLUSH VCALLS KCALLS
row() {
    local kcalls=-
    [ "$8" = - ] || kcalls=$(per_file "$8" "$2")
    rows+=("$(printf '%-22s %9s %9s %7s %9s %17s' "$1" "$3" "$4" "$(ratio "$3" "$4")" "$5 / $6" \
        "$(per_file "$7" "$2") / $kcalls")")
}

echo "varnelt-cli: $cli ($("$cli" --version))" >&2
echo "kid3-cli: $(kid3-cli --help 2>&1 | head -n 1)" >&2
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)" >&2

# Album of 20: both programs.
echo "album of $album_size..." >&2
va=$(measure album "$runs" v_album checks_album)
count_calls album v_album checks_album; vaf=$flushes; vac=$calls
ka=$(measure album "$runs" k_album checks_album)
count_calls album k_album checks_album; kaf=$flushes; kac=$calls
row "album of $album_size" "$album_size" "$va" "$ka" "$vaf" "$kaf" "$vac" "$kac"

# COUNT-file rename and its undo: varnelt-cli only. The undo runs on the job it follows.
echo "rename of $count and undo..." >&2
rename_times=() undo_times=()
for _ in $(seq "$big_runs"); do
    fresh big
    rename_times+=("$(time_job v_rename)")
    checks_rename
    undo_times+=("$(time_job v_undo)")
    grep -q ': undone' "$work/out.txt" || fail "undo did not report the job undone"
    check_undone big
done
vr=$(median "${rename_times[@]}")
vu=$(median "${undo_times[@]}")
count_calls big v_rename checks_rename
vrf=$flushes vrc=$calls vro=$opens vrr=$reads vrs=$stats
journal_rename=$(journal_bytes)
[ "$journal_rename" -gt 0 ] || fail "the rename of $count wrote no journal under $XDG_DATA_HOME"
journal_files=$(find "$XDG_DATA_HOME" -type f -path '*/Journals/*' | wc -l)
v_undo strace -f -c -o "$work/strace.txt" >"$work/out.txt" 2>"$work/err.txt" || fail "undo under strace exited with status $?"
check_undone big
vuf=$(awk '$1 ~ /^[0-9.]+$/ && $NF ~ /^(fsync|fdatasync|syncfs|sync_file_range|msync|sync)$/ { f += $4 } END { print f + 0 }' "$work/strace.txt")
vuc=$(awk '$NF == "total" { print $4 }' "$work/strace.txt")
row "rename of $count" "$count" "$vr" - "$vrf" - "$vrc" -
row "undo of it" "$count" "$vu" - "$vuf" - "$vuc" -

# Fill that makes every tag grow, and fill in place.
echo "fills of $count..." >&2
vg=$(measure big "$big_runs" v_grow checks_grow)
count_calls big v_grow checks_grow; vgf=$flushes; vgc=$calls; vgb=$(folder_bytes "$work/run/album")
journal_grow=$(journal_bytes)
kg=$(measure big "$big_runs" k_grow checks_grow)
count_calls big k_grow checks_grow; kgf=$flushes; kgc=$calls; kgb=$(folder_bytes "$work/run/album")
row "fill+ (tag grows) $count" "$count" "$vg" "$kg" "$vgf" "$kgf" "$vgc" "$kgc"

vf=$(measure big "$big_runs" v_fit checks_fit)
count_calls big v_fit checks_fit; vff=$flushes; vfc=$calls; vfb=$(folder_bytes "$work/run/album")
kf=$(measure big "$big_runs" k_fit checks_fit)
count_calls big k_fit checks_fit; kff=$flushes; kfc=$calls; kfb=$(folder_bytes "$work/run/album")
row "fill= (in place) $count" "$count" "$vf" "$kf" "$vff" "$kff" "$vfc" "$kfc"

echo
printf '%-22s %9s %9s %7s %9s %17s\n' case "varnelt" "kid3-cli" ratio "flushes" "syscalls/file"
printf '%-22s %9s %9s %7s %9s %17s\n' "" "ms" "ms" "k/v" "v / k" "v / k"
printf '%s\n' "${rows[@]}"
echo
echo "rename of $count, per file: $(per_file "$vro" "$count") opens, $(per_file "$vrr" "$count") reads, $(per_file "$vrs" "$count") stats"
echo "journal folder after the rename of $count: $journal_rename bytes ($journal_files files, $(per_file "$journal_rename" "$count") bytes per file)"
echo "journal folder after the growing fill of $count: $journal_grow bytes ($(per_file "$journal_grow" "$count") bytes per file)"
echo "bytes of the $count files: $(folder_bytes "$work/pristine-big") before; after fill+ $vgb (varnelt-cli), $kgb (kid3-cli); after fill= $vfb, $kfb"
echo "median of $runs runs (album), $big_runs runs ($count files); load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
