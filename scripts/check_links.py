#!/usr/bin/env python3
"""Checks that every relative link in the project's pages leads somewhere: to a
file or folder of the tree and, after a '#', to a heading of the page it names.
The pages: README.md, docs/*.md, tests/README.md and tools/*/README.md.
Prints each broken link and exits 1 when there is one; run from anywhere."""

import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# [text](target) and ![alt](target); a target may carry a "title" after a space.
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
FENCE = re.compile(r"^\s*(```|~~~)")
CODE_SPAN = re.compile(r"`[^`]*`")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$")
SCHEME = re.compile(r"^[a-zA-Z][a-zA-Z0-9+.-]*:")


def pages():
    found = [ROOT / "README.md", ROOT / "tests" / "README.md"]
    found += sorted((ROOT / "docs").glob("*.md"))
    found += sorted((ROOT / "tools").glob("*/README.md"))
    return [page for page in found if page.is_file()]


def prose_lines(text):
    """The page's lines outside fenced code."""
    fenced = False
    for number, line in enumerate(text.splitlines(), start=1):
        if FENCE.match(line):
            fenced = not fenced
            continue
        if not fenced:
            yield number, line


def slug(heading):
    """The anchor a heading gets on the forge that shows these pages."""
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", heading)
    text = re.sub(r"[`*]", "", text).strip().lower()
    return re.sub(r"[^\w\- ]", "", text).replace(" ", "-")


def anchors(page):
    seen = {}
    result = set()
    for _, line in prose_lines(page.read_text(encoding="utf-8")):
        match = HEADING.match(line)
        if not match:
            continue
        base = slug(match.group(1))
        count = seen.get(base, 0)
        seen[base] = count + 1
        result.add(base if count == 0 else f"{base}-{count}")
    return result


def broken_links(page):
    for number, line in prose_lines(page.read_text(encoding="utf-8")):
        for match in LINK.finditer(CODE_SPAN.sub("", line)):
            target = match.group(1)
            if SCHEME.match(target):
                continue
            path, _, anchor = target.partition("#")
            destination = (page.parent / path).resolve() if path else page
            if not destination.exists():
                yield number, target, "no such file"
            elif anchor and destination.suffix == ".md" and anchor not in anchors(destination):
                yield number, target, "no such heading"


def main():
    failures = 0
    checked = pages()
    for page in checked:
        for number, target, reason in broken_links(page):
            print(f"{page.relative_to(ROOT)}:{number}: {target}: {reason}")
            failures += 1
    if failures:
        print(f"{failures} broken link(s)")
        return 1
    print(f"links: every relative link in {len(checked)} pages leads somewhere")
    return 0


if __name__ == "__main__":
    sys.exit(main())
