#!/usr/bin/env bash
# Runs a command with a private X server and Wine prefix, both removed when it ends.
#   with-wine.sh [--user-display] COMMAND...
# The prefix is 32-bit, GBK (code page 936), and shows every program inside a 1024 x 768 Wine
# virtual desktop, so windows get their frame and focus works without a window manager.
# With --user-display and DISPLAY set, programs show on the user's display instead.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
user_display=no
if [ "${1:-}" = --user-display ]; then
  shift
  [ -n "${DISPLAY:-}" ] && user_display=yes
fi

mkdir -p "$root/build"
work=$(mktemp -d "$root/build/wine.XXXXXX")
xvfb_pid=""
export WINEPREFIX="$work/prefix" WINEARCH=win32 WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
# No Mono or Gecko install prompts, no menu entries written into $HOME.
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"

cleanup() {
  wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ $user_display = no ]; then
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  export DISPLAY=":$(cat "$work/display")"
fi

mkdir -p "$WINEPREFIX"
wineserver -p
wineboot --init >/dev/null 2>&1
# Wine draws the caption buttons with Marlett, which this build does not find by itself.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
if [ $user_display = no ]; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # Restart the server so that the desktop comes up as the virtual one.
  wineserver -k
  wineserver -p
fi
# Start the prefix's services and desktop now, with no ties to the command's output: anything
# started later by a test would inherit its pipes, and whoever reads them would wait for ever.
wineboot >/dev/null 2>&1 </dev/null
if [ $user_display = no ]; then
  wine explorer /desktop=Default,1024x768 >/dev/null 2>&1 </dev/null &
fi

"$@"
