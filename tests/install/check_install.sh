#!/usr/bin/env bash
# The installed tree as a user gets it: `cmake --install` into a temporary DESTDIR, the tree then
# moved elsewhere and made read-only, checked with the desktop's own validators, and both
# programs run from it with a home folder of their own.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR. Exit 77 (skipped) only when a checker is missing.
set -euo pipefail
build=$1
source=$2

missing=()
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream man:man-db file:file; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool%%:*} (Debian package ${tool#*:})")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "SKIPPED: not installed: ${missing[*]}; ./scripts/install-deps.sh installs them"
  exit 77
fi

work=$(mktemp -d)
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
failures=0
passes=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; passes=$((passes + 1)); }
check() { # description, then the command
  local what=$1; shift
  if "$@" >"$work/out" 2>&1; then ok "$what"; else fail "$what"; sed 's/^/    /' "$work/out"; fi
}

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 \
  || { cat "$work/install.log"; fail "cmake --install"; exit 1; }
# Another prefix than the one it was installed for: nothing may point back at /usr or the build.
mkdir -p "$work/elsewhere"
mv "$work/stage/usr" "$work/elsewhere/varnelt"
tree=$work/elsewhere/varnelt
app_id=$(basename "$(ls "$tree"/share/applications/*.desktop)" .desktop)
echo "application id: $app_id"

expected=(bin/varnelt bin/varnelt-cli share/varnelt/Masks/Default.ini
  "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$app_id.svg" share/man/man1/varnelt.1.gz share/man/man1/varnelt-cli.1.gz
  share/bash-completion/completions/varnelt-cli share/doc/varnelt/copyright share/doc/varnelt/changelog.gz)
for size in 16 22 24 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png"); done
for path in "${expected[@]}"; do [ -e "$tree/$path" ] || fail "not installed: $path"; done
engine=$(find "$tree/lib" -name libvarnelt-cli-engine.so | head -1)
[ -n "$engine" ] || fail "the lookup engine module is not installed under lib"
# Each picture is as large as its folder says.
for size in 16 22 24 32 48 64 128 256; do
  png="$tree/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ -e "$png" ] && { file "$png" | grep -q "PNG image data, $size x $size" || fail "$png is not $size x $size"; }
done

check "desktop-file-validate" desktop-file-validate "$tree/share/applications/$app_id.desktop"
grep -qx "Exec=varnelt %f" "$tree/share/applications/$app_id.desktop" || fail "desktop entry: Exec"
grep -qx "Icon=$app_id" "$tree/share/applications/$app_id.desktop" || fail "desktop entry: Icon"
grep -q "^MimeType=inode/directory;audio/mpeg;" "$tree/share/applications/$app_id.desktop" || fail "desktop entry: MimeType"
check "appstreamcli validate" appstreamcli validate --no-net --pedantic "$tree/share/metainfo/$app_id.metainfo.xml"
# The reverse-DNS id is the maker's site written backwards.
site=$(grep -o 'MakerHome{QLatin1StringView("makerHome"), QLatin1StringView("https://[^/"]*' \
  "$source/src/foundation/SettingsKeys.h" | sed 's#.*https://##')
[ "$app_id" = "$(echo "$site" | tr '.' '\n' | tac | paste -sd.)" ] || fail "application id $app_id is not $site reversed"

for page in varnelt varnelt-cli; do
  manual="$tree/share/man/man1/$page.1.gz"
  if MANWIDTH=100 man --warnings -l "$manual" >"$work/$page.txt" 2>"$work/$page.err"; then
    [ -s "$work/$page.err" ] && { fail "man -l $page: warnings"; sed 's/^/    /' "$work/$page.err"; }
    grep -q "^NAME" "$work/$page.txt" && grep -q "^FILES" "$work/$page.txt" && grep -q -- "--version" "$work/$page.txt" \
      && ok "man -l $page" || fail "man -l $page: NAME, FILES or --version missing"
  else
    fail "man -l $page"; cat "$work/$page.err"
  fi
done
grep -q "Masks" "$work/varnelt.txt" || fail "varnelt(1) does not say where the masks go"

# From here on the tree is read-only, as a system folder is to its users.
chmod -R a-w "$tree"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
album="$HOME/Music/Some Album"
mkdir -p "$album"
cp "$source/tests/data/enc_cbr128.mp3" "$album/01 First.mp3"
cp "$source/tests/data/enc_vbr.mp3" "$album/02 Second.mp3"

version=$("$tree/bin/varnelt-cli" --version)
[ "$version" = "varnelt-cli $(sed -n 's/.*number() { return QStringLiteral("\(.*\)"); }/\1/p' "$source/src/foundation/Version.h")" ] \
  && ok "$version" || fail "varnelt-cli --version said: $version"
if "$tree/bin/varnelt-cli" list "$album" >"$work/list.txt" 2>&1; then
  [ "$(grep -c $'^0[12] [A-Za-z]*\\.mp3\t' "$work/list.txt")" = 2 ] && ok "varnelt-cli list" \
    || { fail "varnelt-cli list: not the two files"; cat "$work/list.txt"; }
else
  fail "varnelt-cli list"; cat "$work/list.txt"
fi
# The lookup loads the engine module from the tree's private folder before it looks at the folder.
status=0
"$tree/bin/varnelt-cli" lookup "$work/no such album" "http://127.0.0.1:9/" >"$work/lookup.txt" 2>&1 || status=$?
if [ "$status" = 2 ] && ! grep -q "could not be loaded" "$work/lookup.txt"; then ok "engine module found"
else fail "varnelt-cli lookup (status $status)"; cat "$work/lookup.txt"; fi
check "varnelt --version" "$tree/bin/varnelt" --version

# The completion offers, over all commands, every option the help names, and completes commands.
completion="$tree/share/bash-completion/completions/varnelt-cli"
complete_words() { # the words completed after: varnelt-cli WORD...
  bash -c 'compopt() { :; }; source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _varnelt_cli
    printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$tree/bin/varnelt-cli" "$@"
}
"$tree/bin/varnelt-cli" --help | grep -o -- '--[a-z][a-z0-9-]*' | grep -vx -- '--help\|--version' | sort -u >"$work/options.help"
for command in rename tag lookup undo; do complete_words "$command" --; done | sort -u >"$work/options.completed"
if cmp -s "$work/options.help" "$work/options.completed"; then ok "completion of every option"
else fail "completion and --help differ in their options"; diff "$work/options.help" "$work/options.completed" || true; fi
[ "$(complete_words ren | tr '\n' ' ')" = "rename " ] && [ "$(complete_words tag . --mode "" | tr '\n' ' ')" = "1 2 3 " ] \
  && ok "completion of commands and values" || fail "completion of 'ren' or of --mode's values"

# The window, offscreen, opened on the album: it starts its masks from the installed ones in the
# user's data folder, never beside itself, and remembers the folder it was given.
export QT_QPA_PLATFORM=offscreen
"$tree/bin/varnelt" "$album" >"$work/varnelt.log" 2>&1 &
window=$!
masks="$XDG_DATA_HOME/Varnelt/Varnelt/Masks/Default.ini"
settings="$XDG_CONFIG_HOME/Varnelt/Varnelt.conf"
for _ in $(seq 1 120); do
  [ -s "$masks" ] && grep -q "Last%20Directory=$album" "$settings" 2>/dev/null && break
  kill -0 "$window" 2>/dev/null || break
  sleep 0.5
done
kill "$window" 2>/dev/null || true
wait "$window" 2>/dev/null || true
if cmp -s "$masks" "$tree/share/varnelt/Masks/Default.ini"; then ok "masks in the per-user folder"
else fail "varnelt did not copy its masks to $masks"; cat "$work/varnelt.log"; fi
grep -q "Last%20Directory=$album" "$settings" 2>/dev/null && ok "varnelt opened the album" \
  || { fail "varnelt did not open $album"; cat "$settings" 2>/dev/null; }
[ ! -e "$tree/bin/Masks" ] && [ ! -e "$tree/bin/Download" ] || fail "varnelt wrote beside itself"

echo "install: $passes passed, $failures failed"
[ "$failures" = 0 ]
