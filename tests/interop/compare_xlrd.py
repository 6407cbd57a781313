"""Compares what xlsdump reads from workbooks with what xlrd reads from them.

compare_xlrd.py XLSDUMP FOLDER      every workbook of FOLDER (not of its corrupt/ folder) must
                                    read to the same sheet names, cell kinds and values as in
                                    xlrd; every file of FOLDER/corrupt must read or be refused
                                    with the library's message, without a sanitizer report, in
                                    under 2 s and 256 MB.
compare_xlrd.py XLSDUMP --xlwt      the same for workbooks written here by xlwt.

Exit status 2 (failed, nothing compared) when the folder or xlrd is not there."""
import json
import os
import resource
import subprocess
import sys
import tempfile

MISSING = 2  # a peer or the workbooks missing: nothing compared, the test fails

# Files whose reading differs from xlrd's on purpose, with the reason.
KNOWN = {
    "sheetjs/BlankSheetTypes.xls":
        "a macro sheet is kept as a sheet of the workbook; xlrd leaves macro sheets out",
    "sheetjs/biff5/number_format_greek.xls":
        "BIFF5 texts in code page 1253: only the ANSI code page 1252 is converted",
    "sheetjs/biff5/numfmt_1_russian.xls":
        "BIFF5 texts in code page 1251: only the ANSI code page 1252 is converted",
}

SANITIZERS = {"ASAN_OPTIONS": "exitcode=86:detect_leaks=1", "UBSAN_OPTIONS": "exitcode=87"}


# Speed is measured by the benchmarks, never here: a reader that hangs is stopped after ten
# minutes, and the timeout's error says so.
HANG_GUARD_SECONDS = 600


def run_dump(xlsdump, path):
    env = dict(os.environ, **SANITIZERS)
    process = subprocess.Popen([xlsdump, path], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               env=env)
    out, err = process.communicate(timeout=HANG_GUARD_SECONDS)
    return process.returncode, out, err.decode("utf-8", "replace")


def peak_child_megabytes():
    return resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0


def same_value(ours, theirs):
    """Cells as (kind, value, ISO text of a date); xlrd's None for a date it cannot convert
    leaves our text unchecked."""
    if ours == theirs:
        return True
    kind_ours, value_ours, iso_ours = ours
    kind_theirs, value_theirs, iso_theirs = theirs
    if kind_ours != kind_theirs:
        return False
    if kind_ours in ("n", "d"):
        if iso_theirs is not None and iso_ours != iso_theirs:
            return False
        if value_ours is None:  # NaN
            return value_theirs != value_theirs
        return float(value_ours) == float(value_theirs)
    return False


def cell_map(sheet):
    return {(c[0], c[1]): (c[2], c[3], c[4] if len(c) > 4 else None) for c in sheet["cells"]}


def compare(ours, theirs):
    """The first difference, or None."""
    names_ours = [s["name"] for s in ours["sheets"]]
    names_theirs = [s["name"] for s in theirs["sheets"]]
    if names_ours != names_theirs:
        return "sheet names %r against xlrd's %r" % (names_ours, names_theirs)
    for sheet_ours, sheet_theirs in zip(ours["sheets"], theirs["sheets"]):
        def notes(sheet):
            return {(n[0], n[1]): n[2].replace("\r", "").strip()
                    for n in sheet.get("notes", [])}
        if notes(sheet_ours) != notes(sheet_theirs):
            return "sheet %r notes %r against xlrd's %r" % (
                sheet_ours["name"], notes(sheet_ours), notes(sheet_theirs))
        merged_theirs = sheet_theirs.get("merged")
        if merged_theirs is not None and "merged" in sheet_ours and \
                sorted(sheet_ours["merged"]) != sorted(merged_theirs):
            return "sheet %r merged ranges %r against xlrd's %r" % (
                sheet_ours["name"], sheet_ours["merged"], merged_theirs)
        a = cell_map(sheet_ours)
        b = cell_map(sheet_theirs)
        for key in sorted(set(a) | set(b)):
            if key not in a or key not in b or not same_value(a[key], b[key]):
                return "sheet %r cell %r: %r against xlrd's %r" % (
                    sheet_ours["name"], key, a.get(key), b.get(key))
    return None


def xlrd_result(path):
    import xlrd_dump
    devnull = open(os.devnull, "w")
    saved = sys.stdout
    sys.stdout = devnull  # xlrd prints warnings
    try:
        return xlrd_dump.dump(path), None
    except Exception as error:
        return None, str(error)
    finally:
        sys.stdout = saved
        devnull.close()


def check_readable(xlsdump, path, label, problems):
    code, out, err = run_dump(xlsdump, path)
    theirs, their_error = xlrd_result(path)
    if code not in (0, 1) or "Sanitizer" in err or "runtime error" in err:
        problems.append("%s: crashed (%d) %s" % (label, code, err[:300]))
        return
    if theirs is None:
        if "encrypted" in their_error and "File is password protected" not in err:
            problems.append("%s: an encrypted file must be refused as one, not %r" % (label, err))
        else:
            print("xlrd cannot read %s (%s); ours: %s" % (
                label, their_error[:60], "read" if code == 0 else err.strip()[:60]))
        return
    if code != 0:
        problems.append("%s: refused (%s) while xlrd reads it" % (label, err.strip()))
        return
    difference = compare(json.loads(out), theirs)
    if difference and label in KNOWN:
        print("known difference in %s: %s" % (label, KNOWN[label]))
    elif difference:
        problems.append("%s: %s" % (label, difference))
    elif label in KNOWN:
        print("%s now reads as xlrd reads it; take it off the known list" % label)


def check_corrupt(xlsdump, path, label, problems):
    code, _, err = run_dump(xlsdump, path)
    if code not in (0, 1) or "Sanitizer" in err or "runtime error" in err:
        problems.append("%s: crashed (%d) %s" % (label, code, err[:300]))
    elif code == 1 and not err.startswith("xlsdump: %s: " % path):
        problems.append("%s: the refusal does not name the file: %s" % (label, err[:300]))


def xlwt_books(folder):
    import datetime
    import xlwt
    books = []
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Numbers")
    for row in range(300):
        sheet.write(row, 0, row * 1.25 - 50)
        sheet.write(row, 1, row)
        sheet.write(row, 2, "text %d" % row)
        sheet.write(row, 3, row % 2 == 0)
    sheet.write(0, 5, xlwt.Formula("A1*2+B2"), )
    sheet.write(1, 5, xlwt.Formula('"a"&"b"'))
    sheet.write(2, 5, datetime.date(2003, 4, 1), xlwt.easyxf(num_format_str="m/d/yy"))
    sheet.write(3, 5, xlwt.Formula("1/0"))
    other = book.add_sheet(u"Grüße ×")
    other.write(0, 0, u"Ünïcödé ÀÉ € ↑ 東京")
    other.write_merge(2, 3, 2, 4, "merged")
    other.write(65535, 255, "corner")
    books.append(book)
    big = xlwt.Workbook()
    for s in range(3):
        sheet = big.add_sheet("S%d" % s)
        for row in range(1000):
            sheet.write(row, 0, "ZIP %05d of %d" % (row, s))
            sheet.write(row, 1, 10000 + row)
    books.append(big)
    paths = []
    for i, book in enumerate(books):
        path = os.path.join(folder, "xlwt%d.xls" % i)
        book.save(path)
        paths.append(path)
    return paths


def main():
    xlsdump, folder = sys.argv[1], sys.argv[2]
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    try:
        import xlrd  # noqa: F401
    except ImportError:
        print("xlrd is not installed")
        return MISSING
    problems = []
    if folder == "--xlwt":
        with tempfile.TemporaryDirectory() as scratch:
            for path in xlwt_books(scratch):
                check_readable(xlsdump, path, os.path.basename(path), problems)
    else:
        if not os.path.isdir(folder):
            print("no workbooks at %s" % folder)
            return MISSING
        for root, _, files in sorted(os.walk(folder)):
            for name in sorted(files):
                if not name.lower().endswith(".xls"):
                    continue
                path = os.path.join(root, name)
                label = os.path.relpath(path, os.path.dirname(os.path.normpath(folder)))
                if os.sep + "corrupt" in root:
                    check_corrupt(xlsdump, path, label, problems)
                else:
                    check_readable(xlsdump, path, label, problems)
    if peak_child_megabytes() > 256:
        problems.append("a reader took %.0f MB" % peak_child_megabytes())
    for problem in problems:
        print("MISMATCH " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
