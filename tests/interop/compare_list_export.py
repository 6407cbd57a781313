"""Reads the first sheet of every workbook of a folder as the program reads a mailing list
(xlslist) and compares it with the same sheet exported by xlrd under the list input's cell
rules: text as its Windows-1252 bytes, numbers and dates in the general number form (15
significant digits, exponent from 1E+15 and below 1E-5), booleans TRUE and FALSE, errors
as their text, blank cells empty. Trailing empty records and fields are not compared:
the two readers may see a sheet's used range end differently.

compare_list_export.py XLSLIST FOLDER      the BIFF5 and BIFF8 workbooks of FOLDER that xlrd
                                           reads (not those of its corrupt/ folder); one the
                                           program cannot read is a mismatch.

Exit status 2 (failed, nothing compared) when the folder or xlrd is not there."""
import os
import subprocess
import sys

# A run that hangs is stopped after ten minutes, and the timeout's error says so; no check
# here bounds how long a run takes.
HANG_GUARD_SECONDS = 600

MISSING = 2  # a peer or the workbooks missing: nothing compared, the test fails
ERRORS = {0x00: "#NULL!", 0x07: "#DIV/0!", 0x0F: "#VALUE!", 0x17: "#REF!", 0x1D: "#NAME?",
          0x24: "#NUM!", 0x2A: "#N/A"}


def number_text(value):
    """The general number form of the program (and of the spreadsheet library)."""
    if value != value or value in (float("inf"), float("-inf")):
        return "#NUM!"
    if value == 0:
        return "0"
    mantissa, exponent = ("%.14e" % abs(value)).split("e")
    exponent = int(exponent)
    digits = (mantissa[0] + mantissa[2:]).rstrip("0") or "0"
    sign = "-" if value < 0 else ""
    if -5 <= exponent < 15:
        if exponent < 0:
            return sign + "0." + "0" * (-exponent - 1) + digits
        whole = exponent + 1
        if len(digits) <= whole:
            return sign + digits + "0" * (whole - len(digits))
        return sign + digits[:whole] + "." + digits[whole:]
    text = sign + digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
    return text + ("E-" if exponent < 0 else "E+") + "%02d" % abs(exponent)


def cell_text(cell):
    import xlrd
    if cell.ctype == xlrd.XL_CELL_TEXT:
        return cell.value.encode("cp1252", "replace")
    if cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE):
        return number_text(cell.value).encode()
    if cell.ctype == xlrd.XL_CELL_BOOLEAN:
        return b"TRUE" if cell.value else b"FALSE"
    if cell.ctype == xlrd.XL_CELL_ERROR:
        return ERRORS.get(cell.value, "#N/A").encode()
    return b""


def escaped(field):
    return (field.replace(b"\\", b"\\\\").replace(b"\t", b"\\t").replace(b"\r", b"\\r")
            .replace(b"\n", b"\\n"))


def trimmed(records):
    records = [record.rstrip(b"\t") for record in records]
    # A field that is only empty ones leaves tabs; strip empty fields at the end.
    records = [b"\t".join(_strip_empty(record.split(b"\t"))) for record in records]
    while records and not records[-1]:
        records.pop()
    return records


def _strip_empty(fields):
    while fields and not fields[-1]:
        fields.pop()
    return fields


def xlrd_records(path):
    import xlrd
    """The first sheet's records, and the BIFF version (times ten) xlrd read."""
    with open(os.devnull, "w") as devnull:  # xlrd's warnings
        book = xlrd.open_workbook(path, logfile=devnull)
    sheet = book.sheet_by_index(0)
    return ([b"\t".join(escaped(cell_text(sheet.cell(r, c))) for c in range(sheet.row_len(r)))
             for r in range(sheet.nrows)], book.biff_version)


def main():
    xlslist, folder = sys.argv[1], sys.argv[2]
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    try:
        import xlrd  # noqa: F401
        from compare_xlrd import KNOWN
    except ImportError:
        print("xlrd is not installed")
        return MISSING
    if not os.path.isdir(folder):
        print("no workbooks at %s" % folder)
        return MISSING
    problems, compared = [], 0
    for root, _, files in sorted(os.walk(folder)):
        if os.sep + "corrupt" in root:
            continue
        for name in sorted(files):
            if not name.lower().endswith(".xls"):
                continue
            path = os.path.join(root, name)
            label = os.path.relpath(path, os.path.dirname(os.path.normpath(folder)))
            if label in KNOWN:
                continue
            ours = subprocess.run([xlslist, path], capture_output=True,
                                  timeout=HANG_GUARD_SECONDS)
            try:
                theirs, version = xlrd_records(path)
            except Exception:
                continue  # a workbook xlrd cannot read has nothing to compare with
            if ours.returncode != 0:
                if version >= 50:
                    problems.append("%s: not read (%s), but xlrd reads it" %
                                    (label, ours.stderr.decode("utf-8", "replace").strip()))
                continue
            lines = ours.stdout.split(b"\n")
            if int(lines[0]) < 5:
                continue  # the library reads BIFF2 to BIFF4 too; these checks are BIFF5 and 8
            compared += 1
            a, b = trimmed(lines[1:]), trimmed(theirs)
            if a != b:
                for i, (x, y) in enumerate(zip(a + [b""] * len(b), b + [b""] * len(a))):
                    if x != y:
                        problems.append("%s record %d: %r against xlrd's %r" % (label, i + 1, x, y))
                        break
    print("%d workbooks compared" % compared)
    for problem in problems:
        print("MISMATCH " + problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
