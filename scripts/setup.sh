#!/usr/bin/env bash
# Installs what building and testing Kolvex needs on a Debian 12 machine:
# the Debian packages (only those missing) and raylib, which Debian 12 does not
# package, built from the source package of Debian's unstable suite.
# With the step "web", also what the web build and its browser test need.
# Safe to run again: with everything present it does nothing.
set -euo pipefail

readonly RAYLIB_MIN_VERSION="5.5"
readonly RAYLIB_PREFIX="/usr/local"
readonly WORK_DIR="${KOLVEX_SETUP_DIR:-/tmp/kolvex-setup}"

readonly PACKAGES=(
    build-essential cmake pkg-config dpkg-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libgl-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev
    libpng-dev libvorbis-dev libogg-dev
    xvfb xdotool x11-apps netpbm python3 python3-xlib desktop-file-utils libglib2.0-bin
    clang-14 libclang-rt-14-dev valgrind
)

log() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: error: %s\n' "$*" >&2; exit 1; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return
    fi
    log "installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# Prints the installed raylib version, or nothing when there is none.
installed_raylib_version() {
    local header
    for header in "$RAYLIB_PREFIX/include/raylib.h" /usr/include/raylib.h; do
        if [ -f "$header" ]; then
            sed -n 's/^#define RAYLIB_VERSION  *"\([0-9.]*\).*"/\1/p' "$header" | head -n1
            return
        fi
    done
}

version_at_least() {
    [ "$(printf '%s\n%s\n' "$2" "$1" | sort -V | head -n1)" = "$2" ]
}

# The mirror this machine already uses, so the project never names a host itself.
debian_mirror() {
    local uri=""
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        uri=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources | head -n1)
    fi
    if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
        uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }' /etc/apt/sources.list)
    fi
    [ -n "$uri" ] || die "no Debian source URI found in /etc/apt/sources.list.d/debian.sources or /etc/apt/sources.list"
    printf '%s\n' "$uri"
}

# Fetches the raylib source package with a private apt configuration; the
# machine's own sources stay untouched and no binary package is taken from sid.
fetch_raylib_source() {
    local mirror apt_opts
    mirror=$(debian_mirror)
    rm -rf "$WORK_DIR"
    mkdir -p "$WORK_DIR/lists/partial"
    printf 'deb-src %s sid main\n' "$mirror" > "$WORK_DIR/sources.list"
    apt_opts=(-o "Dir::Etc::SourceList=$WORK_DIR/sources.list"
              -o "Dir::Etc::SourceParts=/dev/null"
              -o "Dir::State::Lists=$WORK_DIR/lists")
    log "fetching the raylib source package from sid"
    as_root apt-get "${apt_opts[@]}" update -qq || die "apt-get update of the private sid source list failed"
    (cd "$WORK_DIR" && apt-get "${apt_opts[@]}" source raylib) ||
        die "apt-get source raylib failed: no raylib source package could be had from sid"
}

build_raylib() {
    local src version
    src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' | head -n1)
    [ -n "$src" ] || die "the raylib source package did not unpack"
    version=$(sed -n 's/^#define RAYLIB_VERSION  *"\([0-9.]*\).*"/\1/p' "$src/src/raylib.h" | head -n1)
    version_at_least "$version" "$RAYLIB_MIN_VERSION" ||
        die "sid offers raylib $version, older than the $RAYLIB_MIN_VERSION this project needs"
    log "building raylib $version"
    # SDL2 back end: raylib's default one wants GLFW 3.4, newer than Debian 12 has.
    cmake -S "$src" -B "$WORK_DIR/build" -DPLATFORM=SDL -DBUILD_SHARED_LIBS=OFF \
        -DBUILD_EXAMPLES=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$RAYLIB_PREFIX" \
        -DCMAKE_POSITION_INDEPENDENT_CODE=ON > "$WORK_DIR/configure.log" ||
        die "raylib configure failed, see $WORK_DIR/configure.log"
    cmake --build "$WORK_DIR/build" -j "$(nproc)" > "$WORK_DIR/build.log" ||
        die "raylib build failed, see $WORK_DIR/build.log"
    as_root cmake --install "$WORK_DIR/build" > "$WORK_DIR/install.log" ||
        die "raylib install failed, see $WORK_DIR/install.log"
}

install_raylib() {
    local have
    have=$(installed_raylib_version)
    if [ -n "$have" ] && version_at_least "$have" "$RAYLIB_MIN_VERSION"; then
        return
    fi
    fetch_raylib_source
    build_raylib
    have=$(installed_raylib_version)
    [ -n "$have" ] || die "raylib was built but its header is not under $RAYLIB_PREFIX/include"
    log "raylib $have installed under $RAYLIB_PREFIX"
}

# The web build: Debian's emscripten and Chromium, raylib built for the browser
# from the same source package, and puppeteer-core for the browser test.
readonly WEB_PACKAGES=(emscripten chromium)
readonly WEB_ROOT="/opt/kolvex-web"
readonly WEB_RAYLIB_SOURCE="$WEB_ROOT/raylib-src"
readonly WEB_RAYLIB_PREFIX="$WEB_ROOT/raylib"
# Debian's emscripten finds its JavaScript tools (acorn) only among Debian's
# node modules, whichever node runs it.
readonly WEB_NODE_PATH="/usr/share/nodejs"
readonly WEB_TEST_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/web"

install_web_packages() {
    local missing=()
    for p in "${WEB_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    command -v node > /dev/null || missing+=(nodejs)
    command -v npm > /dev/null || missing+=(npm)
    if [ "${#missing[@]}" -eq 0 ]; then
        return
    fi
    log "installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

# raylib 6.0's own web platform on GLFW needs a newer emscripten than Debian's;
# its RGFW-based one builds with it.
install_web_raylib() {
    if [ -f "$WEB_RAYLIB_PREFIX/lib/libraylib.a" ]; then
        return
    fi
    if [ ! -d "$WEB_RAYLIB_SOURCE" ]; then
        local src
        src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' 2>/dev/null | head -n1)
        if [ -z "$src" ]; then
            fetch_raylib_source
            src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' | head -n1)
        fi
        [ -n "$src" ] || die "the raylib source package did not unpack"
        as_root mkdir -p "$WEB_ROOT"
        as_root cp -a "$src" "$WEB_RAYLIB_SOURCE"
    fi
    log "building raylib for the web into $WEB_RAYLIB_PREFIX"
    as_root env NODE_PATH="$WEB_NODE_PATH" emcmake cmake -S "$WEB_RAYLIB_SOURCE" -B "$WEB_ROOT/build" \
        -DPLATFORM=WebRGFW -DBUILD_EXAMPLES=OFF -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$WEB_RAYLIB_PREFIX" > "$WEB_ROOT/configure.log" 2>&1 ||
        die "raylib web configure failed, see $WEB_ROOT/configure.log"
    as_root env NODE_PATH="$WEB_NODE_PATH" cmake --build "$WEB_ROOT/build" -j 2 > "$WEB_ROOT/build.log" 2>&1 ||
        die "raylib web build failed, see $WEB_ROOT/build.log"
    as_root cmake --install "$WEB_ROOT/build" > "$WEB_ROOT/install.log" ||
        die "raylib web install failed, see $WEB_ROOT/install.log"
}

# puppeteer-core, as pinned by the committed lock file, into tests/web/node_modules.
install_web_test_tools() {
    if [ -d "$WEB_TEST_DIR/node_modules/puppeteer-core" ]; then
        return
    fi
    log "installing puppeteer-core into $WEB_TEST_DIR/node_modules"
    (cd "$WEB_TEST_DIR" && npm ci --no-audit --no-fund) || die "npm ci in $WEB_TEST_DIR failed"
}

setup_web() {
    install_web_packages
    install_web_raylib
    install_web_test_tools
}

install_packages
install_raylib
for step in "$@"; do
    case "$step" in
        web) setup_web ;;
        *) die "unknown step: $step" ;;
    esac
done
