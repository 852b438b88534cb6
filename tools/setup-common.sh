# Shared by run.sh and test.sh: installs the Debian packages that are missing
# and makes the locales the tests run in: ISO 8859-1 (the program's own) and
# the UTF-8 ones of a current desktop.

TAVIK_BUILD_PACKAGES="g++ cmake make pkg-config libmotif-dev libxt-dev libxpm-dev libgdbm-dev
  libgdbm-compat-dev libjpeg62-turbo-dev libx11-dev libxrender-dev locales"
TAVIK_RUN_PACKAGES="xvfb xauth xfonts-base xfonts-75dpi xfonts-100dpi x11-utils x11-apps netpbm"
# The catalogue generator's sources (tools/gen_catalogues.py), so that the
# check of the committed tables against it runs instead of skipping.
TAVIK_TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev liberfa-dev python3 xplanet kstars-data siril-common"

tavik_install_packages() {
    local missing=""
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
            missing="$missing $p"
        fi
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    if [ "$(id -u)" != 0 ]; then
        command -v sudo >/dev/null 2>&1 || { echo "need root to install:$missing" >&2; return 1; }
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

tavik_ensure_locale() {
    local sudo=""
    [ "$(id -u)" != 0 ] && sudo="sudo"
    # name as locale -a lists it, source, charmap, locale name
    local want
    for want in "en_US.iso88591 en_US ISO-8859-1 en_US.ISO-8859-1" \
                "en_US.utf8 en_US UTF-8 en_US.UTF-8" \
                "C.utf8 POSIX UTF-8 C.UTF-8"; do
        set -- $want
        if ! locale -a 2>/dev/null | grep -qix "$1"; then
            echo "Generating the $4 locale"
            $sudo localedef -i "$2" -f "$3" "$4"
        fi
    done
}

# The build users run (./run.sh): Release, optimised across the libraries.
# test.sh builds the same into a tree of its own and checks its pictures
# against the tested build's. Arguments: the build tree, then extra cmake
# options.
tavik_configure_shipped() {
    local build="$1"
    shift
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTAVIK_TESTS=OFF -DTAVIK_BENCH=OFF "$@" >/dev/null
}
