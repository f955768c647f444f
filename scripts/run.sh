#!/usr/bin/env bash
# Shows forcequit under Wine. With a display: on it, until the user closes the window.
# Without one: on a private X server, where a screenshot is saved and the window closed.
#   run.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

if [ -n "${DISPLAY:-}" ]; then
  exec scripts/with-wine.sh --user-display wine "$build/forcequit.exe"
fi

scripts/with-wine.sh bash -c '
  set -e
  build=$1
  wine "$build/forcequit.exe" &
  read -r left top width height < <(wine "$build/window_tool.exe" wait | tr -d "\r")
  # The window with a margin of desktop around it.
  import -window root -crop "$((width + 40))x$((height + 40))+$((left - 20))+$((top - 20))" +repage \
    "$build/screenshot.png"
  wine "$build/window_tool.exe" close
  wait
' run "$build"
echo "No display: ran on a private X server; the window looked like $build/screenshot.png"
