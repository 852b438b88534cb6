#!/usr/bin/env bash
# Fails unless the generator, run again on the public catalogues test.sh
# installs, writes exactly the committed bytes of every file it makes.
# Usage: check-catalogues.sh REPO
set -euo pipefail
repo="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
python3 "$repo/tools/gen_catalogues.py" --root "$out" >/dev/null
made="$(cd "$out" && find . -type f | sort)"
[ -n "$made" ] || { echo "the generator made no file" >&2; exit 1; }
status=0
while read -r f; do
    cmp -s "$out/$f" "$repo/$f" || { echo "${f#./} differs from the generator's output" >&2; status=1; }
done <<< "$made"
exit $status
