"""Damaged copies of a list workbook gnumeric writes: every one is either read whole or
refused, and one that is read is written back with every cell it had.

mutation_check.py XLSDUMP XLSREWRITE

The list (1,500 records of seven fields, BIFF8 and BIFF5) is changed the ways a disk, a
transfer or another program damages a file: a LABELSST record given a length it cannot have
(past the largest record, or of another size), the stream cut at a record boundary or inside
one (what follows filled with zeros, as a short copy leaves it), and bytes changed at random.
For each copy, xlsdump either refuses it, naming the file, or reads every cell xlrd reads,
equal; a copy read is written back by xlsrewrite and must still hold each of those cells.
Exit status 2 when ssconvert, xlrd or olefile is missing (nothing checked), 1 on a fault."""
import json
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

MISSING = 2
LABELSST = 0x00FD
SANITIZERS = {"ASAN_OPTIONS": "exitcode=86:detect_leaks=1", "UBSAN_OPTIONS": "exitcode=87"}


def make_list(folder, biff):
    csv = os.path.join(folder, "list.csv")
    with open(csv, "w") as out:
        out.write("NAME,ADDRESS,CITY,ST,ZIP,PIECES,WEIGHT\n")
        for i in range(1500):
            out.write("Customer %d,%d Main St,Springfield %d,IL,%05d,%d,%.2f\n"
                      % (i, 100 + i, i % 40, 62701 + i % 90, 1 + i % 3, 0.5 + i % 7 / 4))
    path = os.path.join(folder, "list%d.xls" % biff)
    exporter = "Gnumeric_Excel:excel_biff8" if biff == 8 else "Gnumeric_Excel:excel_biff7"
    subprocess.run(["ssconvert", "-T", exporter, csv, path], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return path


def stream_name(ole):
    return "Workbook" if ole.exists("Workbook") else "Book"


def read_stream(path):
    import olefile
    with olefile.OleFileIO(path) as ole:
        return ole.openstream(stream_name(ole)).read()


def write_copy(original, target, stream):
    """A copy of the original whose workbook stream is stream (of the same size)."""
    import olefile
    shutil.copyfile(original, target)
    with olefile.OleFileIO(target, write_mode=True) as ole:
        ole.write_stream(stream_name(ole), bytes(stream))


def records(stream):
    at = 0
    while at + 4 <= len(stream):
        rid, length = struct.unpack_from("<HH", stream, at)
        yield at, rid, length
        at += 4 + length


def mutants(stream, rng):
    """(label, changed stream) pairs."""
    labels = [at for at, rid, _ in records(stream) if rid == LABELSST]
    boundaries = [at for at, _, _ in records(stream)]
    for at in rng.sample(labels, min(8, len(labels))) if labels else []:
        for length in (8225, 8224, 12, 8):
            changed = bytearray(stream)
            struct.pack_into("<H", changed, at + 2, length)
            yield "LABELSST at %d of length %d" % (at, length), changed
    for fraction in (0.3, 0.6, 0.9):
        for cut in (int(len(stream) * fraction),
                    boundaries[int(len(boundaries) * fraction)]):
            changed = bytearray(stream)
            changed[cut:] = bytes(len(stream) - cut)
            yield "cut at %d" % cut, changed
    for n in range(150):
        changed = bytearray(stream)
        places = []
        for _ in range(1 + n % 16):
            place = rng.randrange(len(stream))
            changed[place] = rng.randrange(256)
            places.append(place)
        yield "bytes changed at %s" % places, changed


def run(command):
    env = dict(os.environ, **SANITIZERS)
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env,
                          timeout=600)
    return done.returncode, done.stdout, done.stderr.decode("utf-8", "replace")


def keys(dump):
    return {(s, c[0], c[1]) for s, sheet in enumerate(dump["sheets"]) for c in sheet["cells"]}


def check(xlsdump, xlsrewrite, path, label, scratch, tally):
    from compare_xlrd import compare, xlrd_result
    code, out, err = run([xlsdump, path])
    if code not in (0, 1) or "Sanitizer" in err or "runtime error" in err:
        return "%s: crashed (%d) %s" % (label, code, err[:300])
    if code == 1:
        tally["refused"] += 1
        if not err.startswith("xlsdump: %s: " % path):
            return "%s: the refusal does not name the file: %s" % (label, err[:200])
        return None
    ours = json.loads(out)
    theirs, _ = xlrd_result(path)
    if theirs is not None:
        difference = compare(ours, theirs)
        if difference:
            return "%s: read with status 0 but not whole: %s" % (label, difference)
        tally["read, equal to xlrd"] += 1
    else:
        tally["read, xlrd refuses"] += 1
    folder = tempfile.mkdtemp(dir=scratch)
    written = os.path.join(folder, "out.xls")
    shutil.copyfile(path, written)
    code, _, err = run([xlsrewrite, path, written])
    if code == 1:
        tally["write refused"] += 1
        return None
    # Status 3: the written copy has a structure fault; a changed byte can make a cell name
    # a cell format the workbook does not have, which goes back as it was read. Its cells are
    # checked all the same.
    if code == 3 and "uses XF" in err:
        tally["written, a cell format out of range kept"] += 1
    elif code != 0:
        return "%s: written back with status %d: %s" % (label, code, err[:300])
    code, out, err = run([xlsdump, written])
    if code != 0:
        return "%s: the written copy does not read: %s" % (label, err[:200])
    lost = keys(ours) - keys(json.loads(out))
    if lost:
        return "%s: written back without %d cells, %r ..." % (label, len(lost), sorted(lost)[:3])
    return None


def main():
    xlsdump, xlsrewrite = sys.argv[1], sys.argv[2]
    try:
        import olefile  # noqa: F401
        import xlrd  # noqa: F401
    except ImportError as missing:
        print(missing)
        return MISSING
    if shutil.which("ssconvert") is None:
        print("ssconvert is not installed")
        return MISSING
    problems = []
    tally = {"refused": 0, "read, equal to xlrd": 0, "read, xlrd refuses": 0, "write refused": 0,
             "written, a cell format out of range kept": 0}
    rng = random.Random(59)
    with tempfile.TemporaryDirectory() as scratch:
        for biff in (8, 5):
            original = make_list(scratch, biff)
            # The positive control: the list as written reads whole and goes back whole.
            problem = check(xlsdump, xlsrewrite, original, "BIFF%d list" % biff, scratch, tally)
            if problem or tally["read, equal to xlrd"] == 0:
                print("the undamaged list fails: %s" % problem)
                return 1
            stream = read_stream(original)
            for number, (label, changed) in enumerate(mutants(stream, rng)):
                path = os.path.join(scratch, "m%d_%d.xls" % (biff, number))
                write_copy(original, path, changed)
                problem = check(xlsdump, xlsrewrite, path, "BIFF%d %s" % (biff, label), scratch,
                                tally)
                if problem:
                    problems.append(problem)
                os.remove(path)
    print(", ".join("%d %s" % (n, what) for what, n in tally.items()))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
