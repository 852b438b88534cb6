#!/bin/sh
# Runs the frame benchmarks and the start-up benchmark on one private Xvfb and
# prints, per chart mode, the median frame time with the X requests and the
# replies waited for per frame (steady, date advancing, copied to the
# window), the floor program's time beside them, then the start-up time and
# resident size. Build first, preferably a Release tree:
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release && cmake --build build/release -j3
#   bench/frames.sh build/release
set -eu
build=${1:-build/release}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c "
  '$build/bench/bench_frames' --benchmark_format=csv > '$out/frames.csv' 2> '$out/frames.err' || cat '$out/frames.err' >&2
  if [ -x '$build/bench/bench_startup' ]; then
    '$build/bench/bench_startup' --benchmark_format=csv > '$out/startup.csv' 2> '$out/startup.err' || cat '$out/startup.err' >&2
  fi"
awk -F, '
  # name,iterations,real_time,cpu_time,time_unit,...,"requests","replies"
  NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
  $1 ~ /_median"?$/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    split(name, part, "/")
    t = $col["real_time"]; rq = $col["requests"]; rp = $col["replies"]
    if (part[1] == "BM_Floor") { floor = t; floorRq = rq; next }
    v = part[1] == "BM_Frame" ? 1 : (part[1] == "BM_FrameAdvancing" ? 2 : 3)
    mode = part[2]; if (!(mode in seen)) { seen[mode] = 1; order[++n] = mode }
    time[mode, v] = t; req[mode, v] = rq; rep[mode, v] = rp
  }
  END {
    printf "floor (plain Xlib): %.1f us, %d requests per frame\n\n", floor, floorRq
    printf "| mode | steady us | req | rep | advancing us | req | rep | copied us | req | rep | steady/floor |\n"
    printf "|---|---|---|---|---|---|---|---|---|---|---|\n"
    for (i = 1; i <= n; i++) {
      m = order[i]
      printf "| %s", m
      for (v = 1; v <= 3; v++) printf " | %.1f | %.0f | %.2f", time[m, v], req[m, v], rep[m, v]
      printf " | %.2f |\n", time[m, 1] / floor
    }
  }' "$out/frames.csv"
if [ -s "$out/startup.csv" ]; then
  awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
    $1 ~ /_median"?$/ { printf "\nstart-up, exec to first frame copied (median): %.1f ms, resident %d kB\n", $col["real_time"], $col["rss_kB"] }' "$out/startup.csv"
fi
