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

# The program as ./run.sh builds it, whose pictures ShippedBuildX compares
# with the tested build's: a fault only the shipped build's optimiser brings
# out shows there.
shipped="${TAVIK_SHIPPED_BUILD_DIR:-build/shipped}"
tavik_configure_shipped "$shipped"
cmake --build "$shipped" -j"$jobs" --target tavik
export TAVIK_SHIPPED_EXECUTABLE="$(cd "$shipped" && pwd)/tavik"

# The sanitizer options are the tests' own (tests/CMakeLists.txt writes them
# out for runs like the shuffled ones below).
set -a
. "$build/tests/sanitizer.env"
set +a
# -noreset: a server that resets whenever its last client leaves refuses the
# connections tests make meanwhile.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
    ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600

# Tests must not lean on each other's leftovers: each program that needs no
# display runs once more with its tests in a random order. TAVIK_TEST_SEED
# repeats an order.
seed="${TAVIK_TEST_SEED:-$(( $(date +%s) % 99999 + 1 ))}"
tests_dir="$(cd "$build/tests" && pwd)"
for program in "$tests_dir"/tavik_{astro,model,render,command,ui}_tests; do
    [ -x "$program" ] || continue
    echo "$(basename "$program") in shuffled order, seed $seed"
    (cd "$tests_dir" && env -u DISPLAY HOME="$tests_dir/../test-home" LC_ALL=C LANG=C TAVIK_LOCALE= \
        "$program" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1) ||
        { echo "$(basename "$program") failed in the order of seed $seed" >&2; exit 1; }
done

# The X test program once more in one process, shuffled: no test may lean on
# a toolkit connection, a dialog or a palette an earlier one left (about
# three minutes). Each test starts its own X server; xvfb-run gives the few
# that read DISPLAY one too.
x_program="$tests_dir/tavik_x_tests"
if [ -x "$x_program" ]; then
    echo "$(basename "$x_program") in shuffled order, seed $seed"
    (cd "$tests_dir" && HOME="$tests_dir/../test-home" LC_ALL=C LANG=C TAVIK_LOCALE= \
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
        "$x_program" --gtest_shuffle --gtest_random_seed="$seed" --gtest_brief=1) ||
        { echo "$(basename "$x_program") failed in the order of seed $seed" >&2; exit 1; }
fi
