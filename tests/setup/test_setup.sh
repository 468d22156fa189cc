#!/usr/bin/env bash
# The set-up's decisions, with sudo, apt-get, dpkg-query and the raylib build
# (cmake's configure, build and install, emcmake) stubbed on PATH. The stubs log
# every call; apt-get's "source" unpacks a tiny raylib of the version asked for.
# A copy of the script runs in a private tree with stub patches of its own.
# Usage: test_setup.sh SOURCE_DIR
set -euo pipefail
repo=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    sed 's/^/  | /' "$case_dir/out" >&2
    exit 1
}

tree=$tmp/tree patches=$tmp/tree/scripts/patches/raylib stubs=$tmp/stubs
mkdir -p "$patches" "$tree/cmake" "$tree/tests/web/node_modules/puppeteer-core" "$stubs"
cp "$repo/scripts/setup.sh" "$tree/scripts/"
cp "$repo/cmake/Raylib.cmake" "$tree/cmake/"
stub_patch() { printf -- '--- a/src/rcore.c\n+++ b/src/rcore.c\n@@ -1 +1 @@\n-%s\n+%s\n' "$1" "$2"; }
stub_patch unpatched patched > "$patches/0001-stub.patch"

cat > "$stubs/sudo" << 'EOF'
#!/bin/sh
echo "sudo $*" >> "$STUB_LOG"
[ "$1" != -n ] || shift
exec "$@"
EOF
cat > "$stubs/dpkg-query" << 'EOF'
#!/bin/sh
for p; do :; done
! grep -qx "$p" "$STUB_MISSING" && echo 'install ok installed'
EOF
cat > "$stubs/apt-get" << 'EOF'
#!/bin/sh
echo "apt-get $*" >> "$STUB_LOG"
case " $* " in
*" install "*) : > "$STUB_MISSING" ;;
*" source "*)
    v=$STUB_RAYLIB_VERSION
    mkdir -p "raylib-$v/src"
    printf '#define RAYLIB_VERSION  "%s"\n' "$v" > "raylib-$v/src/raylib.h"
    echo unpatched > "raylib-$v/src/rcore.c"
    echo "Version: $v-1" > "raylib_$v-1.dsc" ;;
esac
EOF
cat > "$stubs/cmake" << 'EOF'
#!/bin/sh
case " $* " in *" -P "*) exec "$REAL_CMAKE" "$@" ;; esac
echo "cmake $*" >> "$STUB_LOG"
case $1 in
--build) ;;
--install) . "$2/stub.env" && mkdir -p "$prefix/include" && cp "$src/src/rcore.c" "$prefix/include/" ;;
*)
    while [ $# -gt 0 ]; do
        case $1 in -S) src=$2 ;; -B) build=$2 ;; -DCMAKE_INSTALL_PREFIX=*) prefix=${1#*=} ;; esac
        shift
    done
    mkdir -p "$build" && printf 'src=%s\nprefix=%s\n' "$src" "$prefix" > "$build/stub.env" ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' > "$stubs/emcmake"
chmod 755 "$stubs"/*

# new_case NAME [MISSING_PACKAGE...]: a fresh cache and call log.
new_case() {
    case_dir=$tmp/$1
    shift
    mkdir -p "$case_dir/cache"
    printf '%s\n' "$@" > "$case_dir/missing"
    : > "$case_dir/log"
    : > "$case_dir/out"
    chmod 755 "$case_dir" "$case_dir/cache"
    chmod 666 "$case_dir/missing" "$case_dir/log"
}
as_user=()
run_setup() {
    env PATH="$stubs:$PATH" XDG_CACHE_HOME="$case_dir/cache" STUB_LOG="$case_dir/log" \
        STUB_MISSING="$case_dir/missing" STUB_RAYLIB_VERSION="${version:-6.0}" \
        REAL_CMAKE="$(command -v cmake)" "${as_user[@]}" bash "$tree/scripts/setup.sh" "$@" \
        > "$case_dir/out" 2>&1
}
installed() { cat "$case_dir/cache/kolvex/raylib-6.0/$1/include/rcore.c" 2> /dev/null; }

new_case again nsis
run_setup linux windows web || fail "first run failed"
grep -q "apt-get install .*nsis" "$case_dir/log" || fail "the missing nsis was not installed"
for target in linux windows web; do
    [ "$(installed $target)" = patched ] || fail "$target raylib not built patched"
done
! ls -d "$case_dir"/cache/kolvex/work.* 2> /dev/null || fail "the work folder was left behind"
: > "$case_dir/log"
run_setup linux windows web || fail "second run failed"
[ ! -s "$case_dir/log" ] || fail "second run did work: $(cat "$case_dir/log")"
stub_patch patched "patched twice" > "$patches/0002-again.patch"
run_setup linux windows web || fail "run with a new patch failed"
for target in linux windows web; do
    [ "$(installed $target)" = "patched twice" ] || fail "$target not rebuilt for a new patch"
done
rm "$patches/0002-again.patch"
echo "ok: a second run does nothing and asks for no root; a new patch rebuilds all three"

if [ "$(id -u)" -eq 0 ]; then
    new_case foreign
    mkdir -m 0700 "$case_dir/cache/kolvex"
    chown nobody "$case_dir/cache/kolvex"
    ! run_setup linux || fail "a cache folder of nobody's was used"
    grep -q "belongs to nobody" "$case_dir/out" || fail "no refusal message"
    ! grep -q "^cmake" "$case_dir/log" || fail "built in someone else's folder"
    echo "ok: a work folder owned by someone else is refused"
fi

new_case other_version
for target in linux windows web; do
    ! version=6.1 run_setup $target || fail "$target built raylib 6.1"
    grep -q "version 6.1; this project builds with raylib 6.0.x only" "$case_dir/out" ||
        fail "$target: no message naming both versions"
    [ -z "$(installed $target)" ] || fail "$target: raylib 6.1 was installed"
done
stub_patch unpatched patched > "$patches/0002-stale.patch"
! run_setup linux || fail "built with a patch that does not apply"
grep -q "0002-stale.patch no longer applies to raylib 6.0" "$case_dir/out" || fail "no patch message"
rm "$patches/0002-stale.patch"
export XDG_CACHE_HOME=$case_dir/cache
cmake -DKOLVEX_RAYLIB_TARGET=linux -DKOLVEX_RAYLIB_BUILT="6.1;6.1-1" -P "$repo/cmake/Raylib.cmake"
! cmake -S "$repo" -B "$case_dir/build" > "$case_dir/out" 2>&1 || fail "CMake took raylib 6.1"
tr -s ' \n' '  ' < "$case_dir/out" | grep -q "holds raylib 6.1; this project builds with raylib 6.0.x" ||
    fail "CMake did not say why it refused raylib 6.1"
echo "ok: a raylib of another version is refused by each build"

# As an ordinary user when the test has root.
new_case windows
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$case_dir/cache"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run_setup windows || fail "windows step failed"
! grep -q "^sudo\|^apt-get install" "$case_dir/log" || fail "windows step asked for root"
[ "$(installed windows)" = patched ] || fail "no raylib for Windows"
[ -z "$(installed linux)" ] || fail "the windows step built the Linux raylib"
echo "ok: setup.sh windows with the Debian packages present needs no root"
