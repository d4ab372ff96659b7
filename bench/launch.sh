#!/usr/bin/env bash
# From launch to the service's start line on stdout (release build, simulated reader), over
# RUNS runs (default 20): minimum, median and maximum. Goal: at most 50 ms.
# Usage: bench/launch.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux-release >/dev/null
cmake --build --preset linux-release -j2 >/dev/null
python3 - "$PWD/build/linux-release/bin/zir" "$PWD/examples/card.txt" "${1:-20}" <<'PY'
import os, signal, socket, statistics, subprocess, sys, tempfile, time
program, card, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
times = []
with tempfile.TemporaryDirectory() as work:
    for _ in range(runs + 1):  # the first run warms the file cache and is not counted
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        config = os.path.join(work, "zir.INI")
        with open(config, "w", newline="") as f:
            f.write(f"WebPort={port}\r\nWebType=0\r\nWebCache=1\r\nWebSound=0\r\n")
        start = time.monotonic()
        p = subprocess.Popen([program, "--simulate=" + card, "--config", config],
                             stdout=subprocess.PIPE, cwd=work)
        for line in p.stdout:
            if b"==SERVER START SUCCESS" in line:
                times.append(time.monotonic() - start)
                break
        else:
            sys.exit("no start line")
        p.send_signal(signal.SIGTERM)
        p.communicate(timeout=10)
times = [t * 1000 for t in times[1:]]
print(f"launch to start line over {len(times)} runs: min {min(times):.1f} ms, "
      f"median {statistics.median(times):.1f} ms, max {max(times):.1f} ms (goal <= 50 ms)")
PY
