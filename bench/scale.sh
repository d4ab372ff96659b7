#!/usr/bin/env bash
# A thousand connections opened at once on the release build (simulated reader, loopback).
# Usage: bench/scale.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release -j2 >/dev/null
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$work"' EXIT
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cp examples/card.txt "$work/card.txt"
printf 'WebPort=%s\r\nWebType=0\r\nWebCache=1\r\nWebSound=0\r\n' "$port" >"$work/zir.INI"
(cd "$work" && exec "$root/build/linux-release/bin/zir" --simulate=card.txt --config zir.INI >stdout.txt) &
pid=$!
for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/?type=UID" && break; sleep 0.05; done
ulimit -n 4096 2>/dev/null || true
python3 bench/scale.py "$port" "$pid" "${1:-1000}"
