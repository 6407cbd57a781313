#!/usr/bin/python3
"""Check that the generated tables in the repository match their generators.

Usage: /usr/bin/python3 tools/check_regenerates.py [PUBLIC_DATA_DIR]

Runs tools/make_postal_tables.py and tools/make_test_geography.py into a
temporary folder and compares the result byte for byte, file by file, with
data/tables and tests/fixtures/geography.  Exit 0 when both match; 1 with the
differing, missing and extra files listed, or when a generator fails; 2 when the
public data folder (default public-data/ of the repository) is missing.
"""

import os
import subprocess
import sys
import tempfile

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def tree(folder):
    out = {}
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(files):
            if name.endswith(".pyc"):
                continue
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                out[os.path.relpath(path, folder)] = f.read()
    return out


def compare(label, expected_dir, fresh_dir):
    want, got = tree(expected_dir), tree(fresh_dir)
    problems = []
    for rel in sorted(set(want) | set(got)):
        if rel not in got:
            problems.append("%s: %s is in the repository but no longer generated" % (label, rel))
        elif rel not in want:
            problems.append("%s: %s is generated but missing from the repository" % (label, rel))
        elif want[rel] != got[rel]:
            a, b = want[rel].split(b"\r\n"), got[rel].split(b"\r\n")
            line = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
            problems.append("%s: %s differs from line %d on" % (label, rel, line))
    return problems


def main(argv):
    public_data = argv[0] if argv else os.path.join(REPO, "public-data")
    if not os.path.isdir(public_data):
        print("public data folder %s is missing: nothing to compare" % public_data,
              file=sys.stderr)
        return 2
    generators = [
        ("data/tables", ["tools/make_postal_tables.py", public_data], os.path.join("data", "tables")),
        ("test geography", ["tools/make_test_geography.py"], os.path.join("tests", "fixtures", "geography")),
    ]
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        for label, cmd, rel in generators:
            out = os.path.join(tmp, rel)
            run = subprocess.run([sys.executable] + cmd + ["--out", out], cwd=REPO,
                                 capture_output=True, text=True)
            if run.returncode != 0:
                print("%s: generator failed:\n%s" % (label, run.stderr), file=sys.stderr)
                return 1
            problems += compare(label, os.path.join(REPO, rel), out)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    print("generated tables match the repository")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
