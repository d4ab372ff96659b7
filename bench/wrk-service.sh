#!/usr/bin/env bash
# Load on the real service with the simulated reader: wrk on loopback, bounded in time.
# Usage: bench/wrk-service.sh [SECONDS] [CONNECTIONS]   (defaults 10 s, 8 connections)
# Prints requests per second and latency for the UID read, the full read answered from the
# decode cache, and the full read decoding the card every time.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
connections=${2:-8}

scripts/setup-debian --bench
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release -j "$(nproc)" >/dev/null

work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true; rm -rf "$work"' EXIT
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
cp examples/card.txt "$work/card.txt"

run() { # WebCache, target, label
  printf 'WebPort=%s\r\nWebType=0\r\nWebCache=%s\r\nWebSound=0\r\n' "$port" "$1" > "$work/zir.INI"
  (cd "$work" && exec "$OLDPWD/build/linux-release/bin/zir" --simulate=card.txt --config zir.INI >/dev/null) &
  pid=$!
  for _ in $(seq 50); do curl -s -o /dev/null "http://127.0.0.1:$port/?type=UID" && break; sleep 0.1; done
  echo "== $3"
  wrk -t 2 -c "$connections" -d "${seconds}s" --latency "http://127.0.0.1:$port$2" | grep -E 'Requests/sec|Latency|50%|99%|Non-2xx|Socket errors' || true
  echo "    service memory after the run: $(grep VmRSS /proc/$pid/status | tr -s ' \t' ' ')"
  kill -TERM $pid; wait $pid || true
}

run 1 "/?type=UID" "UID read"
run 1 "/" "full read, answered from the decode cache"
run 0 "/" "full read, card decoded every time"
