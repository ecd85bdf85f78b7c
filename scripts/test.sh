#!/usr/bin/env bash
# Builds the project when needed and runs every test under ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
# Widgets and the embedded browser run without a display; the browser's sandbox cannot run as root.
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
cd "$root/build"
ctest -j2 --output-on-failure --timeout 600
