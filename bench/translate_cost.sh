#!/usr/bin/env bash
# Client-side cost of one translation (median of 200) against the stand-in service on loopback.
# Usage: bench/translate_cost.sh [LINUX_BUILD_DIR]   (default build/linux, configured from its preset)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}
port_file=$(mktemp -u /tmp/standin-cost.XXXXXX)
python3 tools/standin.py --port-file "$port_file" --log /dev/null --detach
trap 'python3 tools/standin.py --stop "$port_file"' EXIT
cmake --build "$build" -j2 --target translate_cost >/dev/null
"$build/translate_cost" "$(cut -d' ' -f1 "$port_file")" "${2:-200}"
