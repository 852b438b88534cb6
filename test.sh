#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, and runs every test.
# X tests run on a private Xvfb server; HOME and the locale are set per test.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup-common.sh
tavik_install_packages $TAVIK_BUILD_PACKAGES $TAVIK_RUN_PACKAGES $TAVIK_TEST_PACKAGES
tavik_ensure_locale

build="${TAVIK_BUILD_DIR:-build/asan}"
jobs="${TAVIK_JOBS:-$(nproc)}"
cmake -S . -B "$build" -DTAVIK_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
    ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600
