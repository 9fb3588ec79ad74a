#!/usr/bin/env bash
# Figures of the HTTP fetch on both builds, against the stand-in service on loopback: the largest
# gap between event-pump calls during a 2 s slow reply, and the time of one exchange (median of 200).
# Usage: bench/http_bench.sh [LINUX_BUILD_DIR] [WIN64_BUILD_DIR]   (defaults: build/linux build/win64,
# both configured from their presets). The Windows figure runs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
linux=${1:-build/linux}
win=${2:-build/win64}

port_file=$(mktemp -u /tmp/standin-bench.XXXXXX)
python3 tools/standin.py --port-file "$port_file" --log /dev/null --detach
trap 'python3 tools/standin.py --stop "$port_file"' EXIT
port=$(cut -d' ' -f1 "$port_file")

echo "== Linux, libcurl"
cmake --build "$linux" -j2 --target http_bench >/dev/null
"$linux/http_bench" "$port"

# The Windows builds leave bench/ out; link the program against the win64 libraries here.
echo "== Windows x86_64, WinInet under Wine"
cmake --build "$win" -j2 --target quorvane_client >/dev/null
x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -I. bench/http_bench.cpp \
  "$win/client/libquorvane_client.a" "$win/text/libquorvane_text.a" \
  -lwininet -ladvapi32 -luser32 -static -o "$win/http_bench.exe"
WINEPREFIX=${WINEPREFIX:-$HOME/.wine-quorvane} WINEDEBUG=-all /usr/lib/wine/wine64 "$win/http_bench.exe" "$port"
