#!/usr/bin/env bash
# Measures the program against its floor under Wine; prints the table and keeps it in BUILD/bench.md.
#   bench.sh BUILD_DIR [startup|lookup|click|weight]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
group=${2:-}
imports=$(i686-w64-mingw32-objdump -p "$build/forcequit.exe" | awk '/DLL Name:/ {printf "%s ", tolower($3)}')
{
  echo "# forcequit against its floor"
  echo
  echo "Commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown), $(date -u +%Y-%m-%d), Wine $(wine --version 2>/dev/null), $(nproc) cores."
  echo
  # The driver writes GBK, as the program's texts are.
  scripts/with-wine.sh wine "$build/bench.exe" $group | tr -d '\r' | iconv -f GBK -t UTF-8
  echo
  echo "Imports: $imports"
} | tee "$build/bench.md"
