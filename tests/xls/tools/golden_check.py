"""Checks a written copy of the golden workbook (data/golden.json) with xlrd and olefile.

golden_check.py GOLDEN.json FILE VERSION STREAMSIZE
VERSION is 8, 5 or 4. Prints "ok", or one line per difference: xlrd must read the file with
formatting_info=True without complaining of an XF, FONT or FORMAT, see every value and
sheet name the description holds, and olefile must list the workbook stream with
STREAMSIZE bytes."""
import io
import json
import sys

import olefile
import xlrd

CITIES = ["HOMEWOOD", "KINGWOOD", "HURTSBORO", "SPRINGFIELD", "FAIRVIEW"]


def list_rows(rows):
    yield 0, ["Name", "Address", "City", "ZIP", "ZIP text"]
    for r in range(1, rows + 1):
        z = (r * 7919) % 99990 + 1
        yield r, ["NAME %d" % r, "%d MAIN ST" % (100 + r), CITIES[r % 5], float(z), "%05d" % z]


def expected_cells(sheet, version):
    cells = {}
    if "list" in sheet:
        for r, values in list_rows(sheet["list"]["rows"]):
            for c, value in enumerate(values):
                cells[(r, c)] = ("n", value) if isinstance(value, float) else ("s", value)
    for n in range(sheet.get("strings", 0)):
        cells[(10 + n, 3)] = ("s", "string %04d of the golden workbook" % n)
    for cell in sheet.get("cells", []):
        if cell[-1] == "biff8" and version != 8:
            continue
        row, col, kind = cell[0], cell[1], cell[2]
        if kind == "blank":
            continue
        if kind == "f":
            kind, value = cell[4], cell[5]
        else:
            value = cell[3]
        if kind in ("n", "i"):
            cells[(row, col)] = ("n", float(value))
        else:
            cells[(row, col)] = (kind, value)
    return cells


def read_cells(sheet):
    kinds = {xlrd.XL_CELL_TEXT: "s", xlrd.XL_CELL_NUMBER: "n", xlrd.XL_CELL_DATE: "n",
             xlrd.XL_CELL_BOOLEAN: "b", xlrd.XL_CELL_ERROR: "e"}
    cells = {}
    for r in range(sheet.nrows):
        types = sheet.row_types(r)
        if types.count(xlrd.XL_CELL_EMPTY) + types.count(xlrd.XL_CELL_BLANK) == len(types):
            continue  # formatting_info gives every row all 256 columns
        for c in range(len(types)):
            cell = sheet.cell(r, c)
            kind = kinds.get(cell.ctype)
            if kind is None:
                continue
            value = cell.value
            if kind == "b":
                value = bool(value)
            elif kind == "e":
                value = xlrd.error_text_from_code.get(value, "#???")
            elif kind == "n":
                value = float(value)
            cells[(r, c)] = (kind, value)
    return cells


def main():
    golden = json.load(open(sys.argv[1], encoding="utf-8"))
    path, version, stream_size = sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    problems = []
    log = io.StringIO()
    book = xlrd.open_workbook(path, formatting_info=True, logfile=log)
    for line in log.getvalue().splitlines():
        if "ERROR" in line or "XF" in line or "FONT" in line or "FORMAT" in line:
            problems.append("xlrd: " + line)
    sheets = golden["sheets"]
    if version == 4:
        sheets = [s for s in sheets if s.get("biff4")]
    if len(book.sheets()) != len(sheets):
        problems.append("%d sheets, expected %d" % (len(book.sheets()), len(sheets)))
    for sheet, read in zip(sheets, book.sheets()):
        if version != 4 and read.name != sheet["name"]:
            problems.append("sheet %r named %r" % (sheet["name"], read.name))
        expected = expected_cells(sheet, version)
        got = read_cells(read)
        for key in sorted(set(expected) | set(got)):
            if expected.get(key) != got.get(key):
                problems.append("sheet %r cell %r: %r, expected %r" % (
                    sheet["name"], key, got.get(key), expected.get(key)))
                if len(problems) > 20:
                    break
    if version != 4:
        with olefile.OleFileIO(path) as ole:
            name = "Workbook" if version == 8 else "Book"
            if not ole.exists(name):
                problems.append("no stream %s" % name)
            elif ole.get_size(name) != stream_size:
                problems.append("stream %s of %d bytes, written %d" % (
                    name, ole.get_size(name), stream_size))
    print("\n".join(problems) if problems else "ok")


main()
