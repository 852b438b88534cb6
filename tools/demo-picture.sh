#!/usr/bin/env bash
# Runs the planetarium on a private Xvfb server, saves a picture of its main
# window and prints the picture's path. Usage: demo-picture.sh TAVIK OUTDIR
set -euo pipefail
tavik="$1"
out="$2"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
picture="$out/tavik-demo.xpm"
rm -f "$picture"
# A default site that the site list holds, so that no first-run notice
# covers the chart.
mkdir -p "$home/.tavik"
cp "$(dirname "$0")/../data/tavik.obs" "$home/.tavik/tavik.obs"
echo "SiteName = Greenwich (United Kingdom)" > "$home/.tavik/options"
# The program saves its own chart: a start-up scene draws a frame and writes
# it with GSAVE (the name must be one the command language can carry).
case "$picture" in *[\"\;]*) echo "unusable output directory: $out" >&2; exit 1 ;; esac
scene="$home/demo.stl"
printf 'BLOCK CONTROL\n\tSCENE MAIN\n\t\tDRIVE\n\t\tGSAVE "%s"\n\tEND SCENE\nEND BLOCK\n' "$picture" > "$scene"
# A home of its own (never the user's ~/.tavik) and an explicit locale, so
# that the picture is the same whatever the caller's. The clock is stopped on
# a winter night at Greenwich (local time is UTC there), when Orion, Sirius
# and Aldebaran stand in the south.
moment="2024-01-25 22:00 UTC"
HOME="$home" TAVIK_HOME="$home" LANG=en_US.ISO-8859-1 LC_ALL=en_US.ISO-8859-1 \
TAVIK_LOCALE=en_US.ISO-8859-1 TZ=UTC TAVIK_CLOCK="$(date -u -d "$moment" +%s)" \
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
    "$1" -q "$3" &
    pid=$!
    for i in $(seq 1 300); do
        kill -0 $pid 2>/dev/null || break
        [ -s "$2" ] && break
        sleep 0.1
    done
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
' _ "$tavik" "$picture" "$scene"
[ -s "$picture" ] || { echo "no picture was made" >&2; exit 1; }
echo "Tavik ran on a private X server (no DISPLAY), showing the sky of $moment"
echo "from Greenwich (United Kingdom), 51.468 N 0.000 E; the chart it saved (XPM) is at:"
echo "  $picture"
