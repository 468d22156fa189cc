#!/usr/bin/env bash
# Installs what building and testing Kolvex needs on a Debian 12 machine:
# the Debian packages (only those missing) and raylib, which Debian 12 does not
# package, built from the source package of Debian's unstable suite.
# With the argument "windows" it also installs the Windows cross toolchain and
# Wine and cross-builds raylib for Windows.
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
    xvfb xdotool x11-apps netpbm python3 python3-xlib
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

# --- Windows: the mingw-w64 cross compiler, Wine to test with, and raylib
# cross-built with its own RGFW platform layer into a prefix of its own.
readonly WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine64
)
readonly WINDOWS_RAYLIB_PREFIX="/usr/local/x86_64-w64-mingw32"
readonly WINDOWS_TOOLCHAIN="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/cmake/mingw-w64-x86_64.cmake"

install_windows_packages() {
    local missing=()
    for p in "${WINDOWS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return
    fi
    log "installing ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

install_windows_raylib() {
    local src
    if [ -f "$WINDOWS_RAYLIB_PREFIX/lib/libraylib.a" ]; then
        return
    fi
    src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' 2>/dev/null | head -n1 || true)
    if [ -z "$src" ]; then
        fetch_raylib_source
        src=$(find "$WORK_DIR" -maxdepth 1 -mindepth 1 -type d -name 'raylib-*' | head -n1)
    fi
    [ -n "$src" ] || die "the raylib source package did not unpack"
    log "cross-building $(basename "$src") for Windows"
    # RGFW: raylib's own window, input and OpenGL layer, which needs no GLFW or SDL
    # on Windows. The static runtime keeps the game a single executable.
    cmake -S "$src" -B "$WORK_DIR/build-windows" -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" \
        -DPLATFORM=RGFW -DBUILD_SHARED_LIBS=OFF -DBUILD_EXAMPLES=OFF -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$WINDOWS_RAYLIB_PREFIX" > "$WORK_DIR/configure-windows.log" ||
        die "raylib configure for Windows failed, see $WORK_DIR/configure-windows.log"
    cmake --build "$WORK_DIR/build-windows" -j "$(nproc)" > "$WORK_DIR/build-windows.log" ||
        die "raylib build for Windows failed, see $WORK_DIR/build-windows.log"
    as_root cmake --install "$WORK_DIR/build-windows" > "$WORK_DIR/install-windows.log" ||
        die "raylib install for Windows failed, see $WORK_DIR/install-windows.log"
    log "raylib for Windows installed under $WINDOWS_RAYLIB_PREFIX"
}

install_packages
install_raylib
for step in "$@"; do
    case "$step" in
        windows) install_windows_packages; install_windows_raylib ;;
        *) die "unknown step: $step" ;;
    esac
done
