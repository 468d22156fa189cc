#!/usr/bin/env bash
# Installs what building and testing Kolvex needs on a Debian 12 machine:
# the Debian packages (only those missing) and raylib, which Debian 12 does not
# package, built from the source package of Debian's unstable suite.
# Each step named on the command line adds a target:
#   windows  the mingw-w64 cross compiler, Wine to test with, raylib for Windows;
#   web      emscripten, Chromium, raylib for the browser, puppeteer-core.
# Safe to run again: with everything present it does nothing.
# Usage: setup.sh [windows] [web]
set -euo pipefail

readonly RAYLIB_MIN_VERSION="5.5"
readonly RAYLIB_PREFIX="/usr/local"
readonly WORK_DIR="${KOLVEX_SETUP_DIR:-/tmp/kolvex-setup}"
readonly PROJECT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

readonly PACKAGES=(
    build-essential cmake pkg-config dpkg-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libgl-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev
    libpng-dev libvorbis-dev libogg-dev
    xvfb xdotool x11-apps netpbm python3 python3-xlib desktop-file-utils libglib2.0-bin
    clang-14 libclang-rt-14-dev valgrind
)

readonly WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine64
)
# The prefix that cmake/mingw-w64-x86_64.cmake searches.
readonly WINDOWS_RAYLIB_PREFIX="/usr/local/x86_64-w64-mingw32"
readonly WINDOWS_TOOLCHAIN="$PROJECT_DIR/cmake/mingw-w64-x86_64.cmake"

readonly WEB_PACKAGES=(emscripten chromium)
# The prefix that the web preset in CMakePresets.json searches.
readonly WEB_RAYLIB_PREFIX="/opt/kolvex-web/raylib"
# Debian's emscripten finds its JavaScript tools (acorn) only among Debian's
# node modules, whichever node runs it.
readonly WEB_NODE_PATH="/usr/share/nodejs"
readonly WEB_TEST_DIR="$PROJECT_DIR/tests/web"

log() { printf 'setup: %s\n' "$*"; }
die() { printf 'setup: error: %s\n' "$*" >&2; exit 1; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the named Debian packages that are missing.
install_missing() {
    local missing=() p
    for p in "$@"; do
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

# Prints the unpacked raylib source, fetching it when no earlier run left it.
raylib_source() {
    local src
    src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' 2>/dev/null | head -n1 || true)
    if [ -z "$src" ]; then
        fetch_raylib_source >&2
        src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' | head -n1)
    fi
    [ -n "$src" ] || die "the raylib source package did not unpack"
    printf '%s\n' "$src"
}

# Configures, builds and installs a static raylib. NAME names its build folder
# and logs; the configure command and its own options follow the prefix.
build_raylib() {
    local name=$1 prefix=$2 src build
    shift 2
    src=$(raylib_source)
    build="$WORK_DIR/build-$name"
    log "building $(basename "$src") ($name) into $prefix"
    "$@" -S "$src" -B "$build" -DBUILD_SHARED_LIBS=OFF -DBUILD_EXAMPLES=OFF \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" > "$WORK_DIR/configure-$name.log" 2>&1 ||
        die "raylib configure ($name) failed, see $WORK_DIR/configure-$name.log"
    cmake --build "$build" -j "$(nproc)" > "$WORK_DIR/build-$name.log" 2>&1 ||
        die "raylib build ($name) failed, see $WORK_DIR/build-$name.log"
    as_root cmake --install "$build" > "$WORK_DIR/install-$name.log" ||
        die "raylib install ($name) failed, see $WORK_DIR/install-$name.log"
}

install_raylib() {
    local have version
    have=$(installed_raylib_version)
    if [ -n "$have" ] && version_at_least "$have" "$RAYLIB_MIN_VERSION"; then
        return
    fi
    version=$(sed -n 's/^#define RAYLIB_VERSION  *"\([0-9.]*\).*"/\1/p' "$(raylib_source)/src/raylib.h" | head -n1)
    version_at_least "$version" "$RAYLIB_MIN_VERSION" ||
        die "sid offers raylib $version, older than the $RAYLIB_MIN_VERSION this project needs"
    # SDL2 back end: raylib's default one wants GLFW 3.4, newer than Debian 12 has.
    build_raylib linux "$RAYLIB_PREFIX" cmake -DPLATFORM=SDL -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    have=$(installed_raylib_version)
    [ -n "$have" ] || die "raylib was built but its header is not under $RAYLIB_PREFIX/include"
    log "raylib $have installed under $RAYLIB_PREFIX"
}

setup_windows() {
    install_missing "${WINDOWS_PACKAGES[@]}"
    if [ ! -f "$WINDOWS_RAYLIB_PREFIX/lib/libraylib.a" ]; then
        # RGFW: raylib's own window, input and OpenGL layer, which needs no GLFW
        # or SDL on Windows.
        build_raylib windows "$WINDOWS_RAYLIB_PREFIX" cmake -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
            -DPLATFORM=RGFW
    fi
}

setup_web() {
    install_missing "${WEB_PACKAGES[@]}"
    command -v npm > /dev/null || install_missing nodejs npm
    export NODE_PATH="$WEB_NODE_PATH"
    if [ ! -f "$WEB_RAYLIB_PREFIX/lib/libraylib.a" ]; then
        # raylib 6.0's web platform on GLFW needs a newer emscripten than
        # Debian's; its RGFW-based one builds with it.
        build_raylib web "$WEB_RAYLIB_PREFIX" emcmake cmake -DPLATFORM=WebRGFW
    fi
    # puppeteer-core, as pinned by the committed lock file.
    if [ ! -d "$WEB_TEST_DIR/node_modules/puppeteer-core" ]; then
        log "installing puppeteer-core into $WEB_TEST_DIR/node_modules"
        (cd "$WEB_TEST_DIR" && npm ci --no-audit --no-fund) || die "npm ci in $WEB_TEST_DIR failed"
    fi
}

install_missing "${PACKAGES[@]}"
install_raylib
for step in "$@"; do
    case "$step" in
        windows) setup_windows ;;
        web) setup_web ;;
        *) die "unknown step: $step" ;;
    esac
done
