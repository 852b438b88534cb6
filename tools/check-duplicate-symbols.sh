#!/usr/bin/env bash
# Fails when a function or object is defined (strongly) in two members of the
# given static libraries. Between static libraries the linker takes the first
# definition it meets and never complains, so a stand-in that outlives the
# real routine would quietly win the link. Usage: check-duplicate-symbols.sh LIB...
set -euo pipefail
nm -A --defined-only -g "$@" 2>/dev/null |
    awk 'NF >= 3 && $(NF-1) ~ /^[TDBR]$/ { n = split($1, where, ":"); obj = where[n - 1]; sym = $NF
                                 if (sym in first && first[sym] != obj) { print sym ": " first[sym] " and " obj; bad = 1 }
                                 else first[sym] = obj }
         END { exit bad }' |
    { if command -v c++filt >/dev/null; then c++filt; else cat; fi; }
