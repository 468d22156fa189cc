#!/usr/bin/env bash
# Gathers a release into dist/ from the builds `make release` has just made:
# the Debian package, the Windows zip and installer, the web page as a zip, the
# source archive of the last commit (git archive) and SHA256SUMS over them all.
# Times and order inside every archive are fixed (SOURCE_DATE_EPOCH, the last
# commit's time, which the Makefile sets), so an unchanged tree makes the same
# files. Usage: release.sh (from make release)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

die() {
    printf 'release: error: %s\n' "$*" >&2
    exit 1
}

[ -n "${SOURCE_DATE_EPOCH:-}" ] || die "SOURCE_DATE_EPOCH is not set: run make release in a git clone"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
[ -n "$version" ] || die "no version in build/release/CMakeCache.txt: run make release"
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    printf 'release: note: the tree has uncommitted changes, which the source archive leaves out\n' >&2
fi

rm -rf dist
mkdir dist
cp build/release/kolvex_"$version"_*.deb build/windows/kolvex-"$version"-windows-x64.zip \
    build/windows/kolvex-"$version"-windows-x64-setup.exe dist/

# The page's folder as it is served, under one folder named for the version.
python3 - "dist/kolvex-$version-web.zip" "kolvex-$version-web" build/web <<'PY'
import os, sys, time, zipfile
out, folder, src = sys.argv[1:]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
page = ["kolvex.html", "kolvex.js", "kolvex.wasm"]
# The asset packs too: the build keeps only the current ones beside the page.
packs = [n for n in os.listdir(src) if n.endswith(".pack")]
names = page + [n + s for n in page for s in (".br", ".gz")] + packs + ["LICENSE.txt", "THIRD_PARTY_NOTICES.txt"]
names += ["kolvex.webmanifest", "service_worker.js"] + ["icons/" + n for n in os.listdir(os.path.join(src, "icons"))]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in sorted(names):
        info = zipfile.ZipInfo(f"{folder}/{name}", stamp)
        info.external_attr = 0o644 << 16
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(src, name), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
PY

git archive --format=tar.gz --prefix="kolvex-$version/" -o "dist/kolvex-$version.tar.gz" HEAD
(cd dist && sha256sum -- * > SHA256SUMS)
printf 'release: dist/ holds\n'
(cd dist && ls -l)
