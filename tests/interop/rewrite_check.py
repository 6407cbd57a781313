"""The program's own path on real workbooks: read, set texts, write back, read again.

rewrite_check.py XLSREWRITE XLSDUMP FOLDER|--xlwt [K/N]
With K/N only every N-th workbook of the folder, from the K-th on, so that a large folder is
checked in parts that each take a short while.
For every workbook of FOLDER that both xlrd and the library read (corrupt/ left out),
xlsrewrite sets a text into an existing and a new column on every row of one sheet and
writes the workbook back in the version read; the structure check must pass. Drawn objects
the library cannot make itself go back as they were read: the written file holds as many as
drawing_objects.py counts in the original (a refusal for them, should there be one, must
name as many and leave the file byte for byte as it was and nothing beside it). Then xlrd must see
the same sheets, names and cells as before, the new texts, and (with formatting_info) the
same font name, boldness and number format on every cell it saw before; and xlsdump must
read the written file as xlrd does. Exit status 2 (failed, nothing checked) without xlrd or
the folder."""
import io
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

# A run that hangs is stopped after ten minutes, and the timeout's error says so; no check
# here bounds how long a run takes.
HANG_GUARD_SECONDS = 600

MISSING = 2  # a peer or the workbooks missing: nothing compared, the test fails
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

# Files whose rewrite cannot match, with the reason.
KNOWN = {
    "sheetjs/BlankSheetTypes.xls":
        "a macro sheet is kept as a sheet of the workbook; xlrd leaves macro sheets out",
}


def quiet_open(path, formatting):
    import xlrd
    return xlrd.open_workbook(path, formatting_info=formatting, logfile=io.StringIO())


def names_of(book):
    return sorted((n.name, n.scope) for n in book.name_obj_list)


def cell_formats(book, sheet):
    """{(row, col): (font name, bold, format string)} of every cell with a value."""
    import xlrd
    result = {}
    for r in range(sheet.nrows):
        types = sheet.row_types(r)
        if types.count(xlrd.XL_CELL_EMPTY) == len(types):
            continue
        for c in range(len(types)):
            if types[c] == xlrd.XL_CELL_EMPTY:
                continue
            xf = book.xf_list[sheet.cell_xf_index(r, c)]
            font = book.font_list[xf.font_index]
            fmt = book.format_map.get(xf.format_key)
            result[(r, c)] = (font.name, font.bold, fmt.format_str if fmt else None)
    return result


# The numbers of a refusal "This workbook holds 2 text boxes and 1 line on sheet ...".
UNKEPT = re.compile(r"(\d+) (?:text box|line|form control|shape|group|picture|embedded object|"
                    r"chart|note)")


def refused_for_drawings(path, out, err, unkept):
    """What is wrong with a refusal for drawn objects, or None."""
    said = sum(int(n) for n in UNKEPT.findall(err))
    if said != unkept:
        return "refused for %d drawn objects, %d found: %s" % (said, unkept, err)
    if not os.path.exists(out):
        return "refused before the copy to write over was made: %s" % err
    with open(path, "rb") as original, open(out, "rb") as kept:
        if original.read() != kept.read():
            return "the refused write changed the file"
    beside = sorted(set(os.listdir(os.path.dirname(out))) - {os.path.basename(out)})
    if beside:
        return "the refused write left %s beside the file" % ", ".join(beside)
    return None


def check(rewrite, dump, path, label, scratch, problems, counts):
    import compare_xlrd
    import xlrd_dump
    try:
        before = xlrd_dump.dump(path)
    except Exception:
        counts["xlrd"] += 1
        return
    # A folder of its own, so that anything a write leaves beside the file is seen.
    folder = os.path.join(scratch, "rewrite")
    shutil.rmtree(folder, ignore_errors=True)
    os.mkdir(folder)
    out = os.path.join(folder, "rewritten.xls")
    import drawing_objects
    unkept = drawing_objects.unkept_count(path)
    process = subprocess.run([rewrite, path, out], capture_output=True,
                             timeout=HANG_GUARD_SECONDS)
    err = process.stderr.decode("utf-8", "replace").strip()
    if process.returncode == 1:
        if "cannot be written back" in err:
            problem = refused_for_drawings(path, out, err, unkept)
            if problem:
                problems.append("%s: %s" % (label, problem))
            counts["drawings"] += 1
        elif "password" in err or "Excel 2.1/3.0" in err:
            counts["refused"] += 1
        else:
            problems.append("%s: not written: %s" % (label, err))
        return
    if process.returncode not in (0, 3):
        problems.append("%s: %s" % (label, err or "status %d" % process.returncode))
        return
    if unkept and drawing_objects.unkept_count(out) != unkept:
        problems.append("%s: written with %d of its %d drawn objects" % (
            label, drawing_objects.unkept_count(out), unkept))
        return
    if process.returncode != 0:
        problems.append("%s: %s" % (label, err or "status %d" % process.returncode))
        return
    change = json.loads(process.stdout)
    try:
        after = xlrd_dump.dump(out)
    except Exception as error:
        problems.append("%s: xlrd cannot read the written file: %s" % (label, error))
        return
    # What the rewrite changed, applied to what xlrd saw before.
    sheet = before["sheets"][change["sheet"]]
    cells = {(c[0], c[1]): c for c in sheet["cells"]}
    for row in range(change["rows"]):
        cells[(row, 0)] = [row, 0, "s", "R%d" % row]
        if change["new"] >= 0:
            cells[(row, change["new"])] = [row, change["new"], "s", "N%d" % row]
    sheet["cells"] = [cells[k] for k in sorted(cells)]
    difference = compare_xlrd.compare(after, before)
    if difference:
        problems.append("%s: %s" % (label, difference))
        return
    try:
        old, new = quiet_open(path, True), quiet_open(out, True)
    except Exception:
        old = new = None
    if old is not None and names_of(old) != names_of(new):
        problems.append("%s: names %r became %r" % (label, names_of(old), names_of(new)))
    if old is not None:
        for s in range(old.nsheets):
            formats_old = cell_formats(old, old.sheet_by_index(s))
            formats_new = cell_formats(new, new.sheet_by_index(s))
            for key, value in formats_old.items():
                if s == change["sheet"] and key[1] == change["new"]:
                    continue
                written = formats_new.get(key)
                if value[2] is None and written is not None:
                    written = written[:2] + (None,)  # the original's format was missing
                if written != value:
                    problems.append("%s: sheet %d cell %r formatted %r, was %r" % (
                        label, s, key, formats_new.get(key), value))
                    break
    ours = subprocess.run([dump, out], capture_output=True,
                          timeout=HANG_GUARD_SECONDS)
    if ours.returncode != 0:
        problems.append("%s: our reader refuses the written file: %s" % (label, ours.stderr))
        return
    difference = compare_xlrd.compare(json.loads(ours.stdout), after)
    if difference:
        problems.append("%s: read back by us: %s" % (label, difference))
    counts["checked"] += 1


def part_of(paths, part):
    """The workbooks of part "K/N": every N-th of them, from the K-th on."""
    k, n = (int(v) for v in part.split("/"))
    return paths[k - 1::n]


def main():
    rewrite, dump, folder = sys.argv[1], sys.argv[2], sys.argv[3]
    part = sys.argv[4] if len(sys.argv) > 4 else "1/1"
    try:
        import xlrd  # noqa: F401
    except ImportError:
        print("xlrd is not installed")
        return MISSING
    import compare_xlrd
    problems = []
    counts = {"checked": 0, "refused": 0, "drawings": 0, "xlrd": 0}
    with tempfile.TemporaryDirectory() as scratch:
        if folder == "--xlwt":
            paths = [(p, os.path.basename(p)) for p in compare_xlrd.xlwt_books(scratch)]
        else:
            if not os.path.isdir(folder):
                print("no workbooks at %s" % folder)
                return MISSING
            paths = []
            for root, _, files in sorted(os.walk(folder)):
                if os.sep + "corrupt" in root:
                    continue
                for name in sorted(files):
                    if name.lower().endswith(".xls"):
                        path = os.path.join(root, name)
                        label = os.path.relpath(path, os.path.dirname(os.path.normpath(folder)))
                        paths.append((path, label))
        for path, label in part_of(paths, part):
            if label in KNOWN:
                print("known: %s: %s" % (label, KNOWN[label]))
                continue
            check(rewrite, dump, path, label, scratch, problems, counts)
    print("%(checked)d rewritten and checked, %(refused)d refused on purpose, %(drawings)d "
          "refused for drawings they cannot keep, %(xlrd)d not read by xlrd" % counts)
    for problem in problems:
        print("MISMATCH " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
