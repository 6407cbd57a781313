"""Prints what xlrd reads from a workbook as JSON, in the form xlsdump prints:
{"sheets": [{"name": ..., "cells": [[row, col, kind, value], ...]}]}. Kinds: "n" number
(dates included), "s" text, "b" boolean, "e" error text; empty and blank cells are left out.
Exit status 1 with xlrd's message when it cannot read the file."""
import json
import sys

import xlrd

KINDS = {xlrd.XL_CELL_TEXT: "s", xlrd.XL_CELL_NUMBER: "n", xlrd.XL_CELL_DATE: "n",
         xlrd.XL_CELL_BOOLEAN: "b", xlrd.XL_CELL_ERROR: "e"}


def dump(path, formatting=False):
    book = xlrd.open_workbook(path, formatting_info=formatting, on_demand=False)
    sheets = []
    for sheet in book.sheets():
        cells = []
        for row in range(sheet.nrows):
            for col in range(sheet.row_len(row)):
                cell = sheet.cell(row, col)
                kind = KINDS.get(cell.ctype)
                if kind is None:
                    continue
                value = cell.value
                if kind == "b":
                    value = bool(value)
                elif kind == "e":
                    value = xlrd.error_text_from_code.get(value, "#???")
                cells.append([row, col, kind, value])
        notes = [[r, c, note.text] for (r, c), note in sorted(sheet.cell_note_map.items())]
        sheets.append({"name": sheet.name, "cells": cells, "notes": notes})
    return {"sheets": sheets}


def main():
    try:
        result = dump(sys.argv[1])
    except Exception as error:  # xlrd raises many kinds
        sys.stderr.write("%s\n" % error)
        sys.exit(1)
    json.dump(result, sys.stdout)


if __name__ == "__main__":
    main()
