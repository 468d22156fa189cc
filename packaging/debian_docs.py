"""Writes the Debian package's documents from the project's own: the
machine-readable copyright file from LICENSE and THIRD_PARTY_NOTICES.md (the
parts the Linux program carries), the Debian changelog from CHANGELOG.md, and
the gzipped manual page. Gzip runs at its maximum level with no name or time in
the header, as Debian asks, so the files are the same at every build.

Usage: debian_docs.py OUT_DIR LICENSE NOTICES CHANGELOG MANPAGE MAINTAINER
"""

import gzip
import re
import sys
import textwrap
from datetime import datetime, timezone

DEP5 = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
# The notices' licence names as Debian's copyright format spells them.
DEBIAN_NAMES = {"MIT": "Expat"}
LINUX = "Linux"


def debian_licence(expression):
    names = [DEBIAN_NAMES.get(name, name) for name in expression.split(" OR ")]
    return " or ".join(names), names


def field_text(text):
    """A multi-line field's continuation: each line indented, blank lines as '.'."""
    return "\n".join(" " + line if line.strip() else " ." for line in text.strip("\n").split("\n"))


def licence_texts(notices):
    """The fenced text under each '### NAME' heading of the notices."""
    texts = {}
    for name, body in re.findall(r"^### (.+?)\n(.*?)(?=^### |\Z)", notices, re.S | re.M):
        block = re.search(r"^```\n(.*?)^```", body, re.S | re.M)
        if block:
            texts[DEBIAN_NAMES.get(name, name)] = block.group(1)
    return texts


def linux_parts(notices):
    """(files, copyright, licence) of each raylib part the Linux program carries."""
    section = notices.split("## raylib", 1)[1].split("\n## ", 1)[0]
    parts = []
    for row in section.splitlines():
        cells = [cell.strip() for cell in row.strip().strip("|").split("|")]
        if len(cells) != 4 or LINUX not in cells[3].split(", "):
            continue
        files = ["raylib/" + path for path in re.findall(r"`([^`]+)`", cells[0].split("(", 1)[1])]
        holders = cells[1].replace("`", "").split("; ")
        parts.append((files, holders, cells[2]))
    if not parts:
        raise SystemExit("debian_docs: no raylib parts for Linux in the notices")
    return parts


def copyright_file(licence, notices):
    holder = re.search(r"^Copyright \(c\) (.+)$", licence, re.M).group(1)
    scope, permission = re.search(r"\n\n(This licence covers.*?)\n\n(Permission.*)", licence,
                                  re.S).groups()
    texts = licence_texts(notices)
    texts["Expat"] = permission
    used = ["Expat"]
    out = [f"Format: {DEP5}\nUpstream-Name: Kolvex\n"
           "Comment: The program in /usr/games carries raylib, linked in; its parts are\n"
           " listed under raylib/ as they are in raylib's source.\n",
           f"Files: *\nCopyright: {holder}\nLicense: Expat\nComment:\n{field_text(scope)}\n"]
    for files, holders, expression in linux_parts(notices):
        name, names = debian_licence(expression)
        used += [n for n in names if n not in used]
        out.append("Files: " + "\n ".join(files) + "\nCopyright: " + "\n ".join(holders)
                   + f"\nLicense: {name}\n")
    for name in used:
        if name not in texts:
            raise SystemExit(f"debian_docs: no text for the licence {name} in the notices")
        out.append(f"License: {name}\n{field_text(texts[name])}\n")
    return "\n".join(out)


def debian_changelog(changelog, maintainer):
    entries = re.findall(r"^## \[([^\]]+)\] - (\d{4}-\d{2}-\d{2})\n(.*?)(?=^## |\Z)", changelog,
                         re.S | re.M)
    if not entries:
        raise SystemExit("debian_docs: no released version in the changelog")
    out = []
    for version, date, body in entries:
        items = re.findall(r"^- (.*?)(?=^- |^#|\Z)", body, re.S | re.M)
        lines = [f"kolvex ({version}) unstable; urgency=medium", ""]
        for item in items:
            lines += textwrap.wrap(" ".join(item.split()), 76, initial_indent="  * ",
                                   subsequent_indent="    ")
        when = datetime.strptime(date, "%Y-%m-%d").replace(tzinfo=timezone.utc)
        lines += ["", f" -- {maintainer}  {when.strftime('%a, %d %b %Y %H:%M:%S +0000')}", ""]
        out.append("\n".join(lines))
    return "\n".join(out)


def write_gzip(path, data):
    with open(path, "wb") as raw, gzip.GzipFile("", "wb", 9, raw, mtime=0) as f:
        f.write(data)


def main(out_dir, licence, notices, changelog, manpage, maintainer):
    read = lambda path: open(path, encoding="utf-8").read()
    with open(f"{out_dir}/copyright", "w", encoding="utf-8") as f:
        f.write(copyright_file(read(licence), read(notices)))
    write_gzip(f"{out_dir}/changelog.gz", debian_changelog(read(changelog), maintainer).encode())
    write_gzip(f"{out_dir}/kolvex.6.gz", read(manpage).encode())


if __name__ == "__main__":
    main(*sys.argv[1:])
