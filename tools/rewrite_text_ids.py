#!/usr/bin/env python3
"""Replaces bare text ids by the named ids of src/services/TextIds.h.

In every .cpp and .h file under the given folders (default: src and tests):
  - UIT(857) becomes UIT(txt::MaximumLengthForField);
  - a file's own text id constants ("constexpr int kText... = 857;", kHint... likewise, and any other
    "constexpr int k... = n;" of a .cpp file that is only ever passed to UIT) are removed and
    their uses become the named ids;
  - files that now use a named id include "services/TextIds.h".
Ids the table does not list are left as they are and reported. The text table and the header
themselves are not touched. A second run changes nothing.

Usage: tools/rewrite_text_ids.py [--dry-run] [--no-format] [repository root] [folder...]
  --dry-run    reports what would change and writes nothing
  --no-format  does not run clang-format over the changed files
"""

import pathlib
import re
import shutil
import subprocess
import sys

HEADER = "src/services/TextIds.h"
SKIPPED = {"src/services/UIL_EN.cpp", HEADER}
INCLUDE = '#include "services/TextIds.h"'

# Constants named as text ids; others are taken only when every use is an argument of UIT.
NAMED_PREFIXES = ("kText", "kHint")
NAMED = re.compile(r"^inline constexpr int (\w+) = (\d+);", re.M)
BARE_UIT = re.compile(r"\bUIT\(\s*(\d+)\s*\)")
CONSTANT = re.compile(
    r"^[ \t]*(?:static[ \t]+)?(?:inline[ \t]+)?constexpr[ \t]+int[ \t]+(k\w+)[ \t]*=[ \t]*(\d+)[ \t]*;"
    r"[^\n]*\n",
    re.M,
)
QUOTED_INCLUDE = re.compile(r'^#include "[^"]+"[^\n]*\n', re.M)
ANY_INCLUDE = re.compile(r"^#include [<\"][^\n]*\n", re.M)
EMPTY_ANONYMOUS = re.compile(r"namespace \{\s*\} // namespace\n\n?")


def read_names(root):
    text = (root / HEADER).read_text(encoding="utf-8")
    return {int(i): name for name, i in NAMED.findall(text)}


def only_passed_to_uit(source, name):
    uses = len(re.findall(r"\b%s\b" % name, source))
    in_uit = len(re.findall(r"\bUIT\(\s*%s\s*\)" % name, source))
    return uses == in_uit


def rewrite_constants(source, names, is_header, report, path):
    if is_header:
        return source
    chosen = {}  # constant -> named id
    for match in CONSTANT.finditer(source):
        constant, text_id = match.group(1), int(match.group(2))
        if text_id not in names:
            continue
        rest = source[: match.start()] + source[match.end() :]
        if re.search(r"::%s\b" % constant, rest):
            continue  # a member reached through its class: not this file's own constant
        if not constant.startswith(NAMED_PREFIXES) and not only_passed_to_uit(rest, constant):
            continue
        chosen[constant] = "txt::" + names[text_id]
    if not chosen:
        return source
    lines = source.split("\n")
    dropped = set()
    for n, line in enumerate(lines):
        match = CONSTANT.match(line + "\n")
        if match and match.group(1) in chosen:
            dropped.add(n)
    # A comment that described only the removed constants goes with them.
    for n in sorted(dropped):
        if n - 1 in dropped:
            continue
        end = n
        while end + 1 in dropped:
            end += 1
        after = lines[end + 1].strip() if end + 1 < len(lines) else ""
        first = n
        while first > 0 and lines[first - 1].lstrip().startswith("//"):
            first -= 1
        if first < n and (after == "" or after.startswith("}")):
            report["comments"].append("%s:%d: %s" % (path, first + 1, lines[first].strip()))
            dropped.update(range(first, n))
    source = "\n".join(line for n, line in enumerate(lines) if n not in dropped)
    for constant, named in chosen.items():
        source = re.sub(r"\b%s\b" % constant, named, source)
    report["constants"] += len(chosen)
    source = re.sub(r"\n{3,}", "\n\n", source)
    return EMPTY_ANONYMOUS.sub("", source)


def rewrite_uit(source, names, report, path):
    def replace(match):
        text_id = int(match.group(1))
        if text_id not in names:
            report["unknown"].append("%s: UIT(%d)" % (path, text_id))
            return match.group(0)
        report["calls"] += 1
        return "UIT(txt::%s)" % names[text_id]

    return BARE_UIT.sub(replace, source)


def add_include(source):
    if INCLUDE in source or "txt::" not in source:
        return source
    includes = list(QUOTED_INCLUDE.finditer(source)) or list(ANY_INCLUDE.finditer(source))
    if not includes:
        return INCLUDE + "\n" + source
    at = includes[-1].end()
    return source[:at] + INCLUDE + "\n" + source[at:]


def main(argv):
    dry_run = "--dry-run" in argv
    do_format = "--no-format" not in argv
    rest = [a for a in argv if not a.startswith("--")]
    root = pathlib.Path(rest[0]) if rest else pathlib.Path(__file__).resolve().parent.parent
    folders = rest[1:] or ["src", "tests"]
    names = read_names(root)
    report = {"calls": 0, "constants": 0, "unknown": [], "comments": []}
    changed = []
    for folder in folders:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h") or not path.is_file():
                continue
            relative = path.relative_to(root).as_posix()
            if relative in SKIPPED:
                continue
            original = path.read_text(encoding="utf-8")
            source = rewrite_constants(original, names, path.suffix == ".h", report, relative)
            source = rewrite_uit(source, names, report, relative)
            source = add_include(source)
            if source != original:
                changed.append(path)
                if not dry_run:
                    path.write_text(source, encoding="utf-8")
    if changed and do_format and not dry_run:
        formatter = shutil.which("clang-format")
        if formatter:
            subprocess.run([formatter, "-i"] + [str(p) for p in changed], check=True)
        else:
            print("clang-format not found: the changed files are not formatted", file=sys.stderr)
    print(
        "%d files, %d UIT calls, %d constants%s"
        % (len(changed), report["calls"], report["constants"], " (dry run)" if dry_run else "")
    )
    for line in report["comments"]:
        print("comment removed with the constants below it: " + line)
    for line in report["unknown"]:
        print("not in the table, left as it is: " + line)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
