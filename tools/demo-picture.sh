#!/usr/bin/env bash
# Runs the planetarium on a private Xvfb server, saves a picture of its window
# and prints the picture's path. Usage: demo-picture.sh TAVIK OUTDIR
set -euo pipefail
tavik="$1"
out="$2"
mkdir -p "$out"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
picture="$out/tavik-demo.png"
HOME="$home" xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
    "$1" -q &
    pid=$!
    for i in $(seq 1 100); do
        if xwininfo -root -tree 2>/dev/null | grep -q "(\"tavik\" \"TAvik\")"; then break; fi
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    sleep 1
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$2"
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
' _ "$tavik" "$picture"
echo "Tavik ran on a private X server (no DISPLAY); a picture of its window is at:"
echo "  $picture"
