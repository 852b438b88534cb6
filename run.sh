#!/usr/bin/env bash
# Installs what is missing, builds and installs Tavik, and starts it on $DISPLAY.
# With no DISPLAY it runs on a private Xvfb server, saves a picture of the
# chart and prints where it is.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup-common.sh
tavik_install_packages $TAVIK_BUILD_PACKAGES $TAVIK_RUN_PACKAGES
tavik_ensure_locale

prefix="${PREFIX:-/usr/local}"
build=build/release
tavik_configure_shipped "$build" -DCMAKE_INSTALL_PREFIX="$prefix"
cmake --build "$build" -j"$(nproc)"
cmake --install "$build" >/dev/null

# The program runs in the user's own locale: one whose fonts it cannot use
# it tells about, and it handles characters as in ISO 8859-1 (the locale
# tavik_ensure_locale made).
if [ -n "${DISPLAY:-}" ]; then
    exec "$prefix/bin/tavik" "$@"
fi
exec tools/demo-picture.sh "$prefix/bin/tavik" "$PWD/build/demo"
