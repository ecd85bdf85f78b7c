#!/usr/bin/env bash
# Builds the project when needed and starts the desktop program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "varnelt needs a display (none is set: DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Without one, use the command-line front end: $root/build/src/varnelt-cli --help" >&2
  exit 1
fi
# The embedded browser refuses to start its sandbox as root.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
exec "$root/build/src/varnelt" "$@"
