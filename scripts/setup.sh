#!/usr/bin/env bash
# Installs what building and testing Kolvex needs on Debian 12, for each target
# named on the command line and nothing more:
#   linux    the compilers, libraries and test tools, raylib for Linux (SDL2);
#   windows  the mingw-w64 cross compiler, Wine and NSIS, raylib for Windows (RGFW);
#   web      emscripten, Chromium, Firefox ESR, WebKitGTK's WebDriver and MiniBrowser,
#            puppeteer-core, raylib for the browser (WebRGFW);
#   bench    Lighthouse for make bench's measure of the web page, with Chromium.
# Root is needed only for missing Debian packages: the script names them, then
# installs them as root or through sudo. raylib is built as the user from
# Debian's unstable source package, checked against the series and patched with
# scripts/patches/raylib/, into the user's cache (cmake/Raylib.cmake says where).
# Safe to run again: with everything present it does nothing.
# Usage: setup.sh linux|windows|web|bench...
set -euo pipefail

PROJECT_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
readonly PROJECT_DIR
readonly RAYLIB_MODULE="$PROJECT_DIR/cmake/Raylib.cmake"
readonly DEBIAN_KEYRING=/usr/share/keyrings/debian-archive-keyring.gpg

# Fetching, unpacking, patching and building raylib, for every target.
readonly RAYLIB_BUILD_PACKAGES=(cmake make patch dpkg-dev)

readonly LINUX_PACKAGES=(
    build-essential pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libsdl2-dev libgl-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev libxi-dev
    libpng-dev libvorbis-dev libogg-dev
    xvfb xdotool x11-apps netpbm openbox python3 python3-xlib desktop-file-utils libglib2.0-bin
    lintian appstream
    clang-14 libclang-rt-14-dev valgrind
)

readonly WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev wine wine64 nsis python3
)
readonly WINDOWS_TOOLCHAIN="$PROJECT_DIR/cmake/mingw-w64-x86_64.cmake"

# The three engines the browser test plays the page in; webkit2gtk-driver brings
# WebKitWebDriver, and with libwebkit2gtk-4.1-0 the MiniBrowser it drives.
readonly WEB_PACKAGES=(emscripten brotli chromium firefox-esr webkit2gtk-driver)
# Debian's emscripten finds its JavaScript tools (acorn) only among Debian's
# node modules, whichever node runs it.
readonly WEB_NODE_PATH="/usr/share/nodejs"
readonly WEB_TEST_DIR="$PROJECT_DIR/tests/web"
# Lighthouse has its own modules, so that the tests never install it.
readonly BENCH_WEB_DIR="$PROJECT_DIR/tests/bench/web"

log() { printf 'setup: %s\n' "$*"; }
die() {
    printf 'setup: error: %s\n' "$*" >&2
    exit 1
}

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# Installs those of the named Debian packages that are missing: the one step
# that needs root.
install_missing() {
    local missing=() p
    for p in "$@"; do
        is_installed "$p" || missing+=("$p")
    done
    [ "${#missing[@]}" -gt 0 ] || return 0
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo > /dev/null ||
            die "missing Debian packages: ${missing[*]}; install them as root (there is no sudo)"
        if ! sudo -n true 2> /dev/null && [ ! -t 0 ]; then
            die "missing Debian packages: ${missing[*]}; install them as root (sudo needs a password and there is no terminal to ask for it)"
        fi
        as_root=(sudo)
    fi
    log "installing missing Debian packages as root: ${missing[*]}"
    # Another install (a second set-up, the system's own updates) may hold dpkg's
    # lock for a while: wait for it rather than fail.
    local wait_lock=(-o DPkg::Lock::Timeout=900)
    "${as_root[@]}" apt-get update -qq "${wait_lock[@]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${wait_lock[@]}" "${missing[@]}"
}

# Creates the user's kolvex cache folder, private, or refuses one that someone
# else could have planted or can change.
private_cache() {
    local dir=$1 owner mode
    mkdir -p "$(dirname "$dir")"
    mkdir -m 0700 "$dir" 2> /dev/null || true
    if [ -L "$dir" ] || [ ! -d "$dir" ]; then
        die "$dir is not a folder of its own"
    fi
    owner=$(stat -c %u "$dir")
    mode=$(stat -c %a "$dir")
    [ "$owner" = "$(id -u)" ] ||
        die "$dir belongs to $(stat -c %U "$dir"), not to $(id -un): refusing to build from it"
    [ $((8#$mode & 8#077)) -eq 0 ] || die "$dir can be read or changed by others (mode $mode)"
    # Nor may anyone else be able to swap the folder for another.
    read -r owner mode < <(stat -c '%u %a' "$(dirname "$dir")")
    [ "$owner" = "$(id -u)" ] || [ "$owner" = 0 ] || die "$(dirname "$dir") belongs to someone else"
    [ $((8#$mode & 8#022)) -eq 0 ] || [ $((8#$mode & 8#1000)) -ne 0 ] ||
        die "others can change $(dirname "$dir") (mode $mode)"
}

# Reads what cmake/Raylib.cmake says about TARGET into the RAYLIB_* variables.
raylib_facts() {
    local key value
    RAYLIB_STALE="" RAYLIB_PATCHES=()
    while read -r key value; do
        case "$key" in
            cache) RAYLIB_CACHE=$value ;;
            prefix) RAYLIB_PREFIX=$value ;;
            series) RAYLIB_SERIES=$value ;;
            source) RAYLIB_SOURCE=$value ;;
            patch) RAYLIB_PATCHES+=("$value") ;;
            stale) RAYLIB_STALE=$value ;;
        esac
    done < <(cmake -DKOLVEX_RAYLIB_TARGET="$1" -P "$RAYLIB_MODULE")
    [ -n "${RAYLIB_PREFIX:-}" ] || die "cmake -P $RAYLIB_MODULE named no raylib prefix"
}

# The version in a raylib source tree's own header.
header_version() {
    sed -n 's/^#define RAYLIB_VERSION  *"\([0-9.]*\)".*/\1/p' "$1/src/raylib.h" | head -n1
}

in_series() {
    [ "$1" = "$RAYLIB_SERIES" ] || [[ "$1" == "$RAYLIB_SERIES".* ]]
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

# Fetches raylib's source package from sid as the user, with a private apt
# configuration: the machine's own sources stay untouched. apt checks every
# file against the hashes of the signed index; dpkg-source (-x, without the
# --no-check that apt passes by default) checks the tarballs against the .dsc.
fetch_raylib_source() {
    local apt_dir="$WORK_DIR/apt" fetch="$WORK_DIR/fetch" tree version
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache" "$fetch"
    printf 'deb-src [signed-by=%s] %s sid main\n' "$DEBIAN_KEYRING" "$(debian_mirror)" > "$apt_dir/sources.list"
    local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
        -o APT::Get::AllowUnauthenticated=false -o Acquire::AllowInsecureRepositories=false
        -o Acquire::AllowDowngradeToInsecureRepositories=false -o DPkg::Source-Options=-x)
    log "fetching raylib's source package from sid"
    apt-get "${apt_opts[@]}" update > "$WORK_DIR/fetch.log" 2>&1 ||
        die "apt-get update of the private sid source list failed, see $WORK_DIR/fetch.log"
    (cd "$fetch" && apt-get "${apt_opts[@]}" source raylib < /dev/null) >> "$WORK_DIR/fetch.log" 2>&1 ||
        die "apt-get source raylib failed (unverified or missing), see $WORK_DIR/fetch.log"
    tree=$(find "$fetch" -mindepth 1 -maxdepth 1 -type d -name 'raylib-*' | head -n1)
    [ -n "$tree" ] || die "the raylib source package did not unpack, see $WORK_DIR/fetch.log"
    version=$(header_version "$tree")
    in_series "$version" || die "sid's raylib source is version ${version:-unknown}; this project builds with raylib $RAYLIB_SERIES.x only (cmake/Raylib.cmake)"
    mv "$tree" "$fetch/raylib"
    mv "$fetch" "$RAYLIB_SOURCE"
}

# Makes RAYLIB_SOURCE hold a verified source package of the series.
kept_raylib_source() {
    if [ -d "$RAYLIB_SOURCE/raylib" ] && in_series "$(header_version "$RAYLIB_SOURCE/raylib")"; then
        return
    fi
    rm -rf "$RAYLIB_SOURCE"
    fetch_raylib_source
}

# A fresh copy of the kept source with every patch applied, refusing a patch
# that no longer applies as it is.
patched_source() {
    local src=$1 patch
    cp -a "$RAYLIB_SOURCE/raylib" "$src"
    for patch in "${RAYLIB_PATCHES[@]}"; do
        patch -p1 -d "$src" --dry-run --forward --fuzz=0 -s -i "$patch" > /dev/null 2>&1 ||
            die "$(basename "$patch") no longer applies to raylib $(header_version "$src"): update it"
        patch -p1 -d "$src" --forward --fuzz=0 -s -i "$patch"
    done
}

# Builds raylib for TARGET into its prefix unless the stamp there says it is
# current; the configure command and its own options follow the target.
ensure_raylib() {
    local target=$1 src build version source_version
    shift
    raylib_facts "$target"
    [ -n "$RAYLIB_STALE" ] || return 0
    log "raylib for $target: $RAYLIB_STALE"
    kept_raylib_source
    src="$WORK_DIR/src-$target"
    build="$WORK_DIR/build-$target"
    patched_source "$src"
    version=$(header_version "$src")
    source_version=$(sed -n 's/^Version: //p' "$RAYLIB_SOURCE"/raylib_*.dsc)
    log "building raylib $version ($source_version, ${#RAYLIB_PATCHES[@]} patches) for $target into $RAYLIB_PREFIX"
    "$@" -S "$src" -B "$build" -DBUILD_SHARED_LIBS=OFF -DBUILD_EXAMPLES=OFF \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$RAYLIB_PREFIX" > "$WORK_DIR/configure-$target.log" 2>&1 ||
        die "raylib configure ($target) failed, see $WORK_DIR/configure-$target.log"
    cmake --build "$build" -j "$(nproc)" > "$WORK_DIR/build-$target.log" 2>&1 ||
        die "raylib build ($target) failed, see $WORK_DIR/build-$target.log"
    rm -rf "${RAYLIB_PREFIX:?}"
    cmake --install "$build" > "$WORK_DIR/install-$target.log" 2>&1 ||
        die "raylib install ($target) failed, see $WORK_DIR/install-$target.log"
    cmake -DKOLVEX_RAYLIB_TARGET="$target" -DKOLVEX_RAYLIB_BUILT="$version;$source_version" -P "$RAYLIB_MODULE"
}

setup_linux() {
    # SDL2 back end: raylib's default one wants GLFW 3.4, newer than Debian 12 has.
    ensure_raylib linux cmake -DPLATFORM=SDL -DCMAKE_POSITION_INDEPENDENT_CODE=ON
}

setup_windows() {
    # RGFW: raylib's own window, input and OpenGL layer, which needs no GLFW or
    # SDL on Windows.
    ensure_raylib windows cmake -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" -DPLATFORM=RGFW
}

setup_web() {
    export NODE_PATH="$WEB_NODE_PATH"
    # raylib 6.0's web platform on GLFW needs a newer emscripten than Debian's;
    # its RGFW-based one builds with it.
    ensure_raylib web emcmake cmake -DPLATFORM=WebRGFW
    # puppeteer-core, as pinned by the committed lock file.
    if [ ! -d "$WEB_TEST_DIR/node_modules/puppeteer-core" ]; then
        log "installing puppeteer-core into $WEB_TEST_DIR/node_modules"
        (cd "$WEB_TEST_DIR" && npm ci --no-audit --no-fund) || die "npm ci in $WEB_TEST_DIR failed"
    fi
}

setup_bench() {
    # Lighthouse, as pinned by its committed lock file.
    if [ ! -d "$BENCH_WEB_DIR/node_modules/lighthouse" ]; then
        log "installing Lighthouse into $BENCH_WEB_DIR/node_modules"
        (cd "$BENCH_WEB_DIR" && npm ci --no-audit --no-fund) || die "npm ci in $BENCH_WEB_DIR failed"
    fi
}

[ "$#" -gt 0 ] || die "usage: setup.sh linux|windows|web|bench..."
packages=("${RAYLIB_BUILD_PACKAGES[@]}")
for step in "$@"; do
    case "$step" in
        linux) packages+=("${LINUX_PACKAGES[@]}") ;;
        windows) packages+=("${WINDOWS_PACKAGES[@]}") ;;
        web)
            packages+=("${WEB_PACKAGES[@]}")
            command -v npm > /dev/null || packages+=(nodejs npm)
            ;;
        bench)
            packages+=(chromium)
            command -v npm > /dev/null || packages+=(nodejs npm)
            ;;
        *) die "unknown step: $step (usage: setup.sh linux|windows|web|bench...)" ;;
    esac
done
install_missing "${packages[@]}"

raylib_facts linux
private_cache "$RAYLIB_CACHE"
WORK_DIR=$(mktemp -d "$RAYLIB_CACHE/work.XXXXXX")
# The work folder goes when all went well; after a failure its logs stay.
trap 'if [ $? -eq 0 ]; then rm -rf "$WORK_DIR"; else log "logs kept in $WORK_DIR"; fi' EXIT
for step in "$@"; do
    "setup_$step"
done
