#!/usr/bin/env bash
# PhotoFileToBase64 beside GNU base64 on the same 38,556-byte photo file.
# GNU base64 is timed on the file repeated 2,000 times (77 MB), so its start-up does not count
# against it; PhotoFileToBase64 is timed on the single file, its reading included.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset linux-bench >/dev/null
cmake --build --preset linux-bench -j2 --target zir_bench_card >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ours=$(build/linux-bench/bin/zir_bench_card --benchmark_filter='^BM_PhotoFileToBase64$' \
         --benchmark_repetitions=5 --benchmark_format=json |
       python3 -c 'import json,sys; r=json.load(sys.stdin)["benchmarks"];
print(max(b["bytes_per_second"] for b in r if b.get("run_type")=="iteration")/1e6)')

photo=$(python3 -c 'import tempfile,os; print(os.path.join(tempfile.gettempdir(),"zir-card-bench","zp.bmp"))')
for _ in $(seq 2000); do cat "$photo"; done >"$work/big.bmp"
best=
for _ in 1 2 3 4 5; do
  start=$(date +%s.%N)
  base64 -w0 "$work/big.bmp" >/dev/null
  end=$(date +%s.%N)
  rate=$(python3 -c "print($(stat -c %s "$work/big.bmp")/($end-$start)/1e6)")
  best=$(python3 -c "print(max(${best:-0}, $rate))")
done
printf 'PhotoFileToBase64: %.0f MB/s   GNU base64: %.0f MB/s   ratio %.2f (goal >= 1)\n' \
  "$ours" "$best" "$(python3 -c "print($ours/$best)")"
