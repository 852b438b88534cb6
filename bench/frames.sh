#!/bin/sh
# Runs the frame benchmarks on one private Xvfb and the start-up benchmark
# (which starts servers of its own) and prints, per chart mode, the median
# frame time with the X requests and the replies waited for per frame
# (steady, date advancing, copied to the window, every display keyword
# shown), each beside the floor of its own primitives batched by colour,
# and the everything-shown frame and its floor timed in pairs (the ratio's
# median over the pairs, steadier on a shared machine than the ratio of
# the two medians), then the start-up times and round trips. Build first,
# preferably a Release tree:
#   cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release && cmake --build build/release -j3
#   bench/frames.sh build/release
set -eu
build=${1:-build/release}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c "
  '$build/bench/bench_frames' --benchmark_format=csv > '$out/frames.csv' 2> '$out/frames.err' || cat '$out/frames.err' >&2"
if [ -x "$build/bench/bench_startup" ]; then
  "$build/bench/bench_startup" --benchmark_format=csv > "$out/startup.csv" 2> "$out/startup.err" || cat "$out/startup.err" >&2
fi
awk -F, '
  # name,iterations,real_time,cpu_time,time_unit,...,"requests","replies"
  NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
  $1 ~ /BesideFloor/ {
    name = $1; gsub(/"/, "", name); split(name, part, "/")
    label = $col["label"]; gsub(/"/, "", label); sub(/.*frame\/floor /, "", label)
    paired[part[2]] = label
  }
  $1 ~ /_median"?$/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    split(name, part, "/")
    v = part[1]; mode = part[2]
    if (!(mode in seen)) { seen[mode] = 1; order[++n] = mode }
    time[mode, v] = $col["real_time"]; req[mode, v] = $col["requests"]; rep[mode, v] = $col["replies"]
  }
  END {
    printf "| mode | floor us | steady us | req | rep | advancing us | copied us | steady/floor | floor all us | all us | req | rep | all/floor | paired all/floor |\n"
    printf "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n"
    for (i = 1; i <= n; i++) {
      m = order[i]
      f = time[m, "BM_Floor"]; fa = time[m, "BM_FloorEverything"]
      printf "| %s | %.0f | %.0f | %.0f | %.2f | %.0f | %.0f | %.2f | %.0f | %.0f | %.0f | %.2f | %.2f | %s |\n", m, f,
        time[m, "BM_Frame"], req[m, "BM_Frame"], rep[m, "BM_Frame"], time[m, "BM_FrameAdvancing"],
        time[m, "BM_FrameCopied"], time[m, "BM_Frame"] / f, fa, time[m, "BM_FrameEverything"],
        req[m, "BM_FrameEverything"], rep[m, "BM_FrameEverything"], time[m, "BM_FrameEverything"] / fa, paired[m]
    }
  }' "$out/frames.csv"
if [ -s "$out/startup.csv" ]; then
  echo
  awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) { gsub(/"/, "", $i); col[$i] = i }; next }
    $1 ~ /BesideFloor/ {
    name = $1; gsub(/"/, "", name); split(name, part, "/")
    label = $col["label"]; gsub(/"/, "", label); sub(/.*frame\/floor /, "", label)
    paired[part[2]] = label
  }
  $1 ~ /_median"?$/ {
      name = $1; gsub(/"/, "", name); sub(/\/iterations.*/, "", name)
      printf "%s: %.1f ms, resident %d kB", name, $col["real_time"], $col["rss_kB"]
      if ("round_trips" in col && $col["round_trips"] != "")
        printf ", %d round trips (%d to the first frame)", $col["round_trips"], $col["round_trips_to_frame"]
      printf "\n"
    }' "$out/startup.csv"
fi
