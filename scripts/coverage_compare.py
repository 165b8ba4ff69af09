#!/usr/bin/env python3
"""Names the lines and branches of src/ and tools/ that one coverage run covered and a later one
does not.

  scripts/coverage_compare.py BEFORE.lcov BEFORE_ROOT AFTER.lcov AFTER_ROOT

The .lcov files are those scripts/coverage.sh writes; each ROOT is the checkout its run was built
from. Lines are matched by their text, not their number, so code that moved still matches; a
covered line whose text is gone from the later checkout is code that changed, listed apart.
Exit status 1 when a line or branch lost its coverage.
"""

import collections
import os
import sys


def read_lcov(path, root):
    """{relative file: (covered line numbers, {(line, branch index): taken})}"""
    files = {}
    current = None
    prefix = os.path.join(os.path.abspath(root), "")
    with open(path, encoding="utf-8") as lcov:
        for raw in lcov:
            line = raw.strip()
            if line.startswith("SF:"):
                name = os.path.normpath(line[3:])
                name = name[len(prefix):] if name.startswith(prefix) else name
                current = files.setdefault(name, (set(), {}))
            elif line.startswith("DA:") and current is not None:
                number, count = line[3:].split(",")[:2]
                if int(count) > 0:
                    current[0].add(int(number))
            elif line.startswith("BRDA:") and current is not None:
                number, _block, branch, taken = line[5:].split(",")
                key = (int(number), branch)
                hit = taken not in ("-", "0")
                current[1][key] = current[1].get(key, False) or hit
    return files


def source_lines(root, name):
    try:
        with open(os.path.join(root, name), encoding="utf-8", errors="replace") as file:
            return [text.strip() for text in file]
    except OSError:
        return []


def covered_texts(numbers, lines):
    return collections.Counter(lines[n - 1] for n in numbers if 0 < n <= len(lines))


def branch_texts(branches, lines):
    taken = collections.Counter()
    for (number, branch), hit in branches.items():
        if hit and 0 < number <= len(lines):
            taken[(lines[number - 1], branch)] += 1
    return taken


def main(before_lcov, before_root, after_lcov, after_root):
    before = read_lcov(before_lcov, before_root)
    after = read_lcov(after_lcov, after_root)
    lost_any = False
    for name in sorted(before):
        if not name.startswith(("src/", "tools/")):
            continue
        old_lines = source_lines(before_root, name)
        new_lines = source_lines(after_root, name)
        new_texts = collections.Counter(new_lines)
        old_cover = covered_texts(before[name][0], old_lines)
        new_entry = after.get(name, (set(), {}))
        new_cover = covered_texts(new_entry[0], new_lines)
        lost = old_cover - new_cover
        uncovered = {t: c for t, c in lost.items() if t in new_texts}
        changed = {t: c for t, c in lost.items() if t not in new_texts}
        old_branches = branch_texts(before[name][1], old_lines)
        new_branches = branch_texts(new_entry[1], new_lines)
        lost_branches = {k: c for k, c in (old_branches - new_branches).items()
                         if k[0] in new_texts}
        if uncovered or lost_branches:
            lost_any = True
        if uncovered or lost_branches or changed:
            print(f"{name}:")
            for text in sorted(uncovered):
                print(f"  line no longer covered: {text}")
            for text, branch in sorted(lost_branches):
                print(f"  branch {branch} no longer taken: {text}")
            if changed:
                print(f"  ({sum(changed.values())} covered lines changed or removed in the code)")
    return 1 if lost_any else 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
