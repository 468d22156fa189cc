#!/usr/bin/env bash
# The set-up's decisions, with sudo, apt-get, dpkg-query and the raylib build
# (cmake's configure, build and install steps, emcmake) stubbed on PATH: the
# stubs record every call, apt-get "installs" by marking packages present and
# unpacks a tiny raylib source of the version asked for. A copy of the script
# runs in a private tree with a stub patch of its own.
# Usage: test_setup.sh SOURCE_DIR
set -euo pipefail
repo=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    [ ! -f "$case_dir/out" ] || sed 's/^/  | /' "$case_dir/out" >&2
    exit 1
}

tree=$tmp/tree
mkdir -p "$tree/scripts/patches/raylib" "$tree/cmake" "$tree/tests/web/node_modules/puppeteer-core"
cp "$repo/scripts/setup.sh" "$tree/scripts/"
cp "$repo/cmake/Raylib.cmake" "$tree/cmake/"
printf -- '--- a/src/rcore.c\n+++ b/src/rcore.c\n@@ -1 +1 @@\n-unpatched\n+patched\n' \
    > "$tree/scripts/patches/raylib/0001-stub.patch"

stubs=$tmp/stubs
mkdir "$stubs"
cat > "$stubs/sudo" << 'EOF'
#!/bin/sh
echo "sudo $*" >> "$STUB_LOG"
[ "$1" != -n ] || shift
exec "$@"
EOF
cat > "$stubs/dpkg-query" << 'EOF'
#!/bin/sh
for p; do :; done
! grep -qx "$p" "$STUB_MISSING" || exit 1
printf 'install ok installed'
EOF
cat > "$stubs/apt-get" << 'EOF'
#!/bin/sh
echo "apt-get $*" >> "$STUB_LOG"
case " $* " in
*" install "*)
    for p; do
        case $p in -* | install) ;; *) grep -vx "$p" "$STUB_MISSING" > "$STUB_MISSING.new" || true
            mv "$STUB_MISSING.new" "$STUB_MISSING" ;;
        esac
    done ;;
*" source "*)
    v=$STUB_RAYLIB_VERSION
    mkdir -p "raylib-$v+ds/src"
    printf '#define RAYLIB_VERSION  "%s"\n' "$v" > "raylib-$v+ds/src/raylib.h"
    echo unpatched > "raylib-$v+ds/src/rcore.c"
    printf 'Version: %s+ds-1\n' "$v" > "raylib_$v+ds-1.dsc" ;;
esac
EOF
cat > "$stubs/cmake" << 'EOF'
#!/bin/sh
case " $* " in *" -P "*) exec "$REAL_CMAKE" "$@" ;; esac
echo "cmake $*" >> "$STUB_LOG"
case $1 in
--build) exit 0 ;;
--install)
    . "$2/stub.env"
    mkdir -p "$prefix/include"
    cp "$src/src/raylib.h" "$src/src/rcore.c" "$prefix/include/"
    exit 0 ;;
esac
while [ $# -gt 0 ]; do
    case $1 in -S) src=$2 ;; -B) build=$2 ;; -DCMAKE_INSTALL_PREFIX=*) prefix=${1#*=} ;; esac
    shift
done
mkdir -p "$build"
printf 'src=%s\nprefix=%s\n' "$src" "$prefix" > "$build/stub.env"
EOF
printf '#!/bin/sh\nexec "$@"\n' > "$stubs/emcmake"
chmod 755 "$stubs"/*

as_user=()
case_dir=""

# new_case NAME [MISSING_PACKAGE...]: a fresh cache and call log; the Debian
# packages named are missing, all others present.
new_case() {
    case_dir=$tmp/$1
    shift
    mkdir -p "$case_dir/cache"
    printf '%s\n' "$@" > "$case_dir/missing"
    : > "$case_dir/log"
    chmod 755 "$case_dir" "$case_dir/cache"
    chmod 666 "$case_dir/missing" "$case_dir/log"
}

# run_setup STEP...: runs the copied script against the case's cache; its status.
run_setup() {
    env PATH="$stubs:$PATH" XDG_CACHE_HOME="$case_dir/cache" STUB_LOG="$case_dir/log" \
        STUB_MISSING="$case_dir/missing" STUB_RAYLIB_VERSION="${version:-6.0}" \
        REAL_CMAKE="$(command -v cmake)" "${as_user[@]}" bash "$tree/scripts/setup.sh" "$@" \
        > "$case_dir/out" 2>&1
}

prefix() { echo "$case_dir/cache/kolvex/raylib-6.0/$1"; }

# A first run installs what is missing and builds the three raylibs, patched;
# a second run does nothing and asks for no root.
new_case again nsis
run_setup linux windows web || fail "first run failed"
grep -q "apt-get install .*nsis" "$case_dir/log" || fail "nsis, missing, was not installed"
for target in linux windows web; do
    grep -qx patched "$(prefix "$target")/include/rcore.c" || fail "$target raylib built unpatched"
    [ -f "$(prefix "$target")/kolvex-raylib.stamp" ] || fail "$target raylib has no stamp"
done
! ls -d "$case_dir"/cache/kolvex/work.* > /dev/null 2>&1 || fail "the work folder was left behind"
: > "$case_dir/log"
run_setup linux windows web || fail "second run failed"
[ ! -s "$case_dir/log" ] || fail "second run did work: $(cat "$case_dir/log")"
printf 'ok: a second run does nothing and asks for no root\n'

# A cache folder owned by someone else is refused before anything in it is used.
if [ "$(id -u)" -eq 0 ]; then
    new_case foreign
    mkdir -m 0700 "$case_dir/cache/kolvex"
    chown nobody "$case_dir/cache/kolvex"
    ! run_setup linux || fail "a cache folder of nobody's was used"
    grep -q "belongs to nobody" "$case_dir/out" || fail "no refusal message"
    ! grep -q "^cmake" "$case_dir/log" || fail "built in someone else's folder"
    printf 'ok: a work folder owned by someone else is refused\n'
else
    printf 'skipped: refusing a folder of another user needs root to make one\n'
fi

# Each build refuses a raylib of another series, and a patch that no longer applies.
new_case other_version
for target in linux windows web; do
    ! version=6.1 run_setup "$target" || fail "$target built raylib 6.1"
    grep -q "version 6.1; this project builds with raylib 6.0.x only" "$case_dir/out" ||
        fail "$target: no message naming both versions"
    [ ! -e "$(prefix "$target")" ] || fail "$target: something was installed"
done
cp "$tree/scripts/patches/raylib/0001-stub.patch" "$tree/scripts/patches/raylib/0002-stale.patch"
! run_setup linux || fail "built with a patch that does not apply"
grep -q "0002-stale.patch no longer applies to raylib 6.0" "$case_dir/out" || fail "no patch message"
rm "$tree/scripts/patches/raylib/0002-stale.patch"
XDG_CACHE_HOME="$case_dir/cache" cmake -DKOLVEX_RAYLIB_TARGET=linux \
    -DKOLVEX_RAYLIB_BUILT="6.1;6.1+ds-1" -P "$repo/cmake/Raylib.cmake"
! XDG_CACHE_HOME="$case_dir/cache" cmake -S "$repo" -B "$case_dir/build" > "$case_dir/out" 2>&1 ||
    fail "CMake took an install of raylib 6.1"
tr -s ' \n' '  ' < "$case_dir/out" | grep -q "holds raylib 6.1; this project builds with raylib 6.0.x only" ||
    fail "CMake did not say why it refused raylib 6.1"
printf 'ok: a raylib of another version is refused by each build\n'

# With the Debian packages present, the Windows step needs no root, and builds
# only Windows' raylib; run as an ordinary user when the test has root.
new_case windows
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody "$case_dir/cache"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run_setup windows || fail "windows step failed"
! grep -q "^sudo\|^apt-get install" "$case_dir/log" || fail "windows step asked for root"
[ -f "$(prefix windows)/kolvex-raylib.stamp" ] || fail "no raylib for Windows"
[ ! -e "$(prefix linux)" ] || fail "the windows step built the Linux raylib"
printf 'ok: setup.sh windows with the Debian packages present needs no root\n'
