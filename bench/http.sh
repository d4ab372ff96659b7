#!/usr/bin/env bash
# zir beside nginx serving the same bytes: wrk on loopback, the two servers alternating cell by
# cell in one run, so that a busy machine weighs on both alike.
# Usage: bench/http.sh [SECONDS]   (each cell; default 5)
# Prints one table and writes it, with the machine's description, to bench/results/http-latest.md.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
load_before=$(cut -d" " -f1-3 /proc/loadavg)
root=$PWD

scripts/setup-debian --bench
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release -j2 >/dev/null

out=$root/build/linux-release/bench-http
rm -rf "$out" && mkdir -p "$out/www" "$out/nginx"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  [ -f "$out/nginx/nginx.pid" ] && kill "$(cat "$out/nginx/nginx.pid")" 2>/dev/null || true
}
trap cleanup EXIT
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
cp examples/card.txt "$out/card.txt"
printf 'DelayMs=0\r\n' >> "$out/card.txt"

# One zir with the cache, one without; stdout to a file, as a service run would.
start_zir() { # WebCache → port in $port
  local dir=$out/zir-cache$1
  port=$(free_port)
  mkdir -p "$dir" && cp "$out/card.txt" "$dir/card.txt"
  printf 'WebPort=%s\r\nWebType=0\r\nWebCache=%s\r\nWebSound=0\r\n' "$port" "$1" >"$dir/zir.INI"
  (cd "$dir" && exec "$root/build/linux-release/bin/zir" --simulate=card.txt --config zir.INI >stdout.txt 2>&1) &
  pids+=($!)
  for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/?type=UID" && break; sleep 0.05; done
}
start_zir 1; zir1=$port
start_zir 0; zir0=$port

# nginx serves the very bodies zir answers, with its content type.
curl -s -o "$out/www/uid" "http://127.0.0.1:$zir1/?type=UID"
curl -s -o "$out/www/full" "http://127.0.0.1:$zir1/"
curl -s -o "$out/full0" "http://127.0.0.1:$zir0/"
cmp -s "$out/www/full" "$out/full0" || { echo "http.sh: the two zir answers differ" >&2; exit 1; }
ctype=$(curl -s -o /dev/null -w '%{content_type}' "http://127.0.0.1:$zir1/")
nport=$(free_port)
cat >"$out/nginx/nginx.conf" <<CONF
worker_processes auto;
pid $out/nginx/nginx.pid;
error_log $out/nginx/error.log;
events { worker_connections 4096; }
http {
  access_log off;
  client_body_temp_path $out/nginx/tmp;
  proxy_temp_path $out/nginx/tmp;
  fastcgi_temp_path $out/nginx/tmp;
  uwsgi_temp_path $out/nginx/tmp;
  scgi_temp_path $out/nginx/tmp;
  keepalive_requests 1000000;
  server {
    listen 127.0.0.1:$nport;
    root $out/www;
    default_type "$ctype";
    etag off;
  }
}
CONF
mkdir -p "$out/nginx/tmp"
nginx -c "$out/nginx/nginx.conf" -p "$out/nginx" -e "$out/nginx/error.log" 2>/dev/null ||
  nginx -c "$out/nginx/nginx.conf" -p "$out/nginx"
for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$nport/uid" && break; sleep 0.05; done
for f in uid full; do
  curl -s "http://127.0.0.1:$nport/$f" | cmp -s - "$out/www/$f" || { echo "http.sh: nginx body $f differs" >&2; exit 1; }
done

# One wrk cell: "requests/s p50-µs p99-µs errors".
cell() { # url connections
  local threads=$(( $2 < 2 ? 1 : 2 ))
  wrk -t "$threads" -c "$2" -d "${seconds}s" --latency "$1" | python3 -c '
import re, sys
text = sys.stdin.read()
def us(v):
    n, unit = re.match(r"([\d.]+)(\w+)", v).groups()
    return float(n) * {"us": 1, "ms": 1e3, "s": 1e6}[unit]
rps = re.search(r"Requests/sec:\s+([\d.]+)", text).group(1)
p50 = re.search(r"^\s+50%\s+(\S+)", text, re.M).group(1)
p99 = re.search(r"^\s+99%\s+(\S+)", text, re.M).group(1)
err = re.search(r"Socket errors: (.*)", text)
non2 = re.search(r"Non-2xx or 3xx responses: (\d+)", text)
bad = (err.group(1).strip() if err else "") + ("; non-2xx " + non2.group(1) if non2 else "")
print(rps, us(p50), us(p99), bad.replace(" ", "_") or "-")'
}

rows=()
for req in uid cache nocache; do
  case $req in
    uid) zurl="http://127.0.0.1:$zir1/?type=UID"; nurl="http://127.0.0.1:$nport/uid"; label="UID" ;;
    cache) zurl="http://127.0.0.1:$zir1/"; nurl="http://127.0.0.1:$nport/full"; label="full read, cache" ;;
    nocache) zurl="http://127.0.0.1:$zir0/"; nurl="http://127.0.0.1:$nport/full"; label="full read, WebCache 0" ;;
  esac
  for c in 1 16 256; do
    read -r zr z50 z99 zerr < <(cell "$zurl" "$c")
    read -r nr n50 n99 nerr < <(cell "$nurl" "$c")
    rows+=("$label|$c|$zr|$z50|$z99|$nr|$n50|$n99|$zerr|$nerr")
    echo "  $label, $c connections: zir $zr req/s, nginx $nr req/s" >&2
  done
done
zrss=$(grep VmRSS "/proc/${pids[0]}/status" | awk '{print $2}')

table=$(printf '%s\n' "${rows[@]}" | python3 -c '
import sys
print("| request | conns | zir req/s | zir p50 | zir p99 | nginx req/s | nginx p50 | nginx p99 | req/s ratio | p99 ratio | errors zir / nginx |")
print("|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|")
def t(us):
    us = float(us)
    return f"{us/1000:.2f} ms" if us >= 1000 else f"{us:.0f} µs"
for line in sys.stdin:
    l, c, zr, z50, z99, nr, n50, n99, ze, ne = line.rstrip("\n").split("|")
    print(f"| {l} | {c} | {float(zr):,.0f} | {t(z50)} | {t(z99)} | {float(nr):,.0f} | {t(n50)} | {t(n99)} | "
          f"{float(zr)/float(nr):.2f} | {float(z99)/float(n99):.2f} | {ze} / {ne} |")')
echo "$table"

{
  echo "# zir beside nginx: latest run of bench/http.sh"
  echo
  echo "- date: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)$(git diff --quiet HEAD -- src || echo ' (with local changes)')"
  echo "- machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores, $(free -g | awk '/Mem:/{print $2}') GB, Linux $(uname -r)"
  echo "- load average before the run and after: $load_before / $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "- also running (top CPU users at the end): $(ps -eo pcpu,comm --sort=-pcpu | sed -n '2,6p' | awk '{printf "%s %s%%; ", $2, $1}')"
  echo "- wrk ${seconds} s per cell, 1 thread at 1 connection, else 2; keep-alive; bodies: UID $(stat -c %s "$out/www/uid") bytes, full $(stat -c %s "$out/www/full") bytes"
  echo "- nginx $(nginx -v 2>&1 | sed 's/.*\///'), worker_processes auto, static files with the same content type; zir release build, WebType 0, resident memory after the cached cells: ${zrss} kB"
  echo
  echo "$table"
} >bench/results/http-latest.md
echo "written to bench/results/http-latest.md"
