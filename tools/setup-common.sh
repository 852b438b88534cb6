# Shared by run.sh and test.sh: installs the Debian packages that are missing
# and makes the ISO 8859-1 locale the font sets need.

TAVIK_BUILD_PACKAGES="g++ cmake make pkg-config libmotif-dev libxt-dev libxpm-dev libgdbm-dev
  libgdbm-compat-dev libjpeg62-turbo-dev libx11-dev libxrender-dev locales"
TAVIK_RUN_PACKAGES="xvfb xauth xfonts-base xfonts-75dpi xfonts-100dpi x11-utils x11-apps netpbm"
TAVIK_TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev liberfa-dev"

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
    if ! locale -a 2>/dev/null | grep -qi '^en_US\.iso88591$'; then
        echo "Generating the en_US.ISO-8859-1 locale"
        local sudo=""
        [ "$(id -u)" != 0 ] && sudo="sudo"
        $sudo localedef -i en_US -f ISO-8859-1 en_US.ISO-8859-1
    fi
}
