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
picture="$out/tavik-demo.png"
rm -f "$picture"
# A default site that the site list holds, so that no first-run notice
# covers the chart.
mkdir -p "$home/.tavik"
cp "$(dirname "$0")/../data/tavik.obs" "$home/.tavik/tavik.obs"
echo "SiteName = Greenwich (United Kingdom)" > "$home/.tavik/options"
# A home of its own (never the user's ~/.tavik) and the ISO 8859-1 locale the
# font sets need. The clock is stopped on a winter night at Greenwich (local
# time is UTC there), when Orion, Sirius and Aldebaran stand in the south.
moment="2024-01-25 22:00 UTC"
HOME="$home" TAVIK_HOME="$home" LANG=en_US.ISO-8859-1 LC_ALL=en_US.ISO-8859-1 \
TAVIK_LOCALE=en_US.ISO-8859-1 TZ=UTC TAVIK_CLOCK="$(date -u -d "$moment" +%s)" \
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c '
    "$1" -q &
    pid=$!
    # The main window is the largest viewable window of class TAvik.
    main_window() {
        xwininfo -root -tree 2>/dev/null | awk "/\\(\"tavik\" \"TAvik\"\\)/ {
            split(\$5, g, \"[x+]\"); if (g[1] * g[2] > best) { best = g[1] * g[2]; id = \$1 } }
            END { print id }"
    }
    win=""
    for i in $(seq 1 200); do
        kill -0 $pid 2>/dev/null || break
        win="$(main_window)"
        if [ -n "$win" ] && xwininfo -id "$win" 2>/dev/null | grep -q "IsViewable"; then break; fi
        win=""
        sleep 0.1
    done
    if [ -z "$win" ]; then
        echo "tavik did not show its main window" >&2
        kill $pid 2>/dev/null || true
        exit 1
    fi
    sleep 1
    xwd -id "$win" -silent | xwdtopnm 2>/dev/null | pnmtopng > "$2"
    kill $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
' _ "$tavik" "$picture"
[ -s "$picture" ] || { echo "no picture was made" >&2; exit 1; }
echo "Tavik ran on a private X server (no DISPLAY), showing the sky of $moment"
echo "from Greenwich (United Kingdom), 51.468 N 0.000 E; a picture of its main window is at:"
echo "  $picture"
