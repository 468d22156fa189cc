"""The release in dist/ as a packager and a player get it: Debian's own checkers
accept the .deb (lintian with no error or warning; its menu entry and
software-centre entry validated), every archive holds the licence and the
notices as committed and carries the version, and SHA256SUMS covers every file
and verifies.
Usage: test_release.py DIST_DIR
"""

import glob
import os
import re
import subprocess
import sys
import tarfile
import tempfile
import zipfile

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def source(name):
    with open(os.path.join(ROOT, name), encoding="utf-8") as f:
        return f.read()


def text(data):
    """A file as committed, whatever line ends the archive gave it."""
    return data.decode("utf-8").replace("\r\n", "\n")


def check_deb(deb, version):
    result = subprocess.run(["lintian", "--fail-on", "error,warning", deb],
                            capture_output=True, text=True)
    tags = [line for line in result.stdout.splitlines() if re.match(r"[EW]: ", line)]
    assert result.returncode == 0 and not tags, "lintian:\n" + result.stdout + result.stderr
    with tempfile.TemporaryDirectory() as tree:
        subprocess.run(["dpkg-deb", "-x", deb, tree], check=True)
        subprocess.run(["desktop-file-validate", tree + "/usr/share/applications/kolvex.desktop"],
                       check=True)
        metainfo = glob.glob(tree + "/usr/share/metainfo/*.metainfo.xml")
        assert len(metainfo) == 1, metainfo
        subprocess.run(["appstreamcli", "validate", "--no-net", metainfo[0]], check=True)
        with open(metainfo[0], encoding="utf-8") as f:
            assert f'<release version="{version}"' in f.read(), "the metainfo's release"
        with open(tree + "/usr/share/doc/kolvex/copyright", encoding="utf-8") as f:
            copyright_file = f.read()
    # Our licence and the notices of what the program carries.
    permission = source("LICENSE").split("\n\n")[3]
    assert " ".join(permission.split()) in " ".join(copyright_file.split()), "our licence"
    assert "Files: raylib/src/external/stb_*" in copyright_file, "raylib's parts"


def check_members(archive, members, folder, licence, notices):
    assert members.get(f"{folder}/{licence}") is not None, f"{archive}: no {licence}"
    assert text(members[f"{folder}/{licence}"]) == source("LICENSE"), f"{archive}: {licence}"
    assert text(members[f"{folder}/{notices}"]) == source("THIRD_PARTY_NOTICES.md"), \
        f"{archive}: {notices}"


def zip_members(path):
    with zipfile.ZipFile(path) as z:
        return {name: z.read(name) for name in z.namelist() if not name.endswith("/")}


def main(dist):
    version = re.search(r"project\(kolvex VERSION ([0-9.]+)", source("CMakeLists.txt")).group(1)
    expected = {f"kolvex_{version}_amd64.deb", f"kolvex-{version}-windows-x64.zip",
                f"kolvex-{version}-windows-x64-setup.exe", f"kolvex-{version}-web.zip",
                f"kolvex-{version}.tar.gz", "SHA256SUMS"}
    assert set(os.listdir(dist)) == expected, sorted(os.listdir(dist))

    check_deb(os.path.join(dist, f"kolvex_{version}_amd64.deb"), version)

    windows = zip_members(os.path.join(dist, f"kolvex-{version}-windows-x64.zip"))
    check_members("the Windows zip", windows, f"kolvex-{version}-windows-x64", "LICENSE.txt",
                  "THIRD_PARTY_NOTICES.txt")
    assert f"kolvex-{version}-windows-x64/kolvex.exe" in windows

    web = zip_members(os.path.join(dist, f"kolvex-{version}-web.zip"))
    check_members("the web zip", web, f"kolvex-{version}-web", "LICENSE.txt",
                  "THIRD_PARTY_NOTICES.txt")
    page = text(web[f"kolvex-{version}-web/kolvex.html"])
    for link in ("LICENSE.txt", "THIRD_PARTY_NOTICES.txt"):
        assert f'href="{link}"' in page, "the page links to " + link
    assert f"Kolvex {version}" in page, "the page's version"
    # Every pack the wasm asks for is in the zip, and nothing else named so.
    wasm = web[f"kolvex-{version}-web/kolvex.wasm"]
    asked = set(re.findall(rb"kolvex-[a-z]+\.[0-9a-f]{12}\.pack", wasm))
    zipped = {name.split("/")[-1].encode() for name in web if name.endswith(".pack")}
    assert asked and asked == zipped, (sorted(asked), sorted(zipped))

    with tarfile.open(os.path.join(dist, f"kolvex-{version}.tar.gz")) as tar:
        folder = f"kolvex-{version}"
        sources = {name: tar.extractfile(f"{folder}/{name}").read()
                   for name in ("LICENSE", "THIRD_PARTY_NOTICES.md")}
    check_members("the source archive", {f"{folder}/{k}": v for k, v in sources.items()}, folder,
                  "LICENSE", "THIRD_PARTY_NOTICES.md")

    with open(os.path.join(dist, "SHA256SUMS"), encoding="utf-8") as f:
        listed = {line.split(None, 1)[1].strip() for line in f if line.strip()}
    assert listed == expected - {"SHA256SUMS"}, sorted(listed)
    subprocess.run(["sha256sum", "--strict", "-c", "SHA256SUMS"], cwd=dist, check=True)
    print(f"release {version}: lintian clean, entries valid, licence and notices in every "
          "archive, checksums verified")


if __name__ == "__main__":
    main(sys.argv[1])
