"""Prints what xlrd reads from a workbook as JSON, in the form xlsdump prints:
{"sheets": [{"name": ..., "cells": [[row, col, kind, value], ...], "merged": [...]}]}.
Kinds: "n" number, "d" a number in a date-formatted cell (then its ISO text, or null where
xlrd has no date for it), "s" text, "b" boolean, "e" error text; empty and blank cells are
left out. Merged ranges are inclusive [first row, first col, last row, last col]; null
where xlrd reads the file only without its formatting, which holds them. Exit status 1
with xlrd's message when it cannot read the file."""
import json
import sys

import xlrd

KINDS = {xlrd.XL_CELL_TEXT: "s", xlrd.XL_CELL_NUMBER: "n", xlrd.XL_CELL_DATE: "d",
         xlrd.XL_CELL_BOOLEAN: "b", xlrd.XL_CELL_ERROR: "e"}


def iso_date(value, datemode):
    """The ISO text of a date serial as xlrd converts it, or None."""
    try:
        year, month, day, hour, minute, second = xlrd.xldate_as_tuple(value, datemode)
    except Exception:  # negative, ambiguous or too large
        return None
    time = "%02d:%02d:%02d" % (hour, minute, second)
    if year == 0:
        return time if datemode == 0 else None
    date = "%04d-%02d-%02d" % (year, month, day)
    return date if (hour, minute, second) == (0, 0, 0) else date + "T" + time


def open_book(path):
    """The workbook with its formatting (and so its merged ranges) where xlrd reads that."""
    import os
    with open(os.devnull, "w") as quiet:
        try:
            return xlrd.open_workbook(path, formatting_info=True, on_demand=False,
                                      logfile=quiet), True
        except Exception:
            return xlrd.open_workbook(path, formatting_info=False, on_demand=False,
                                      logfile=quiet), False


def dump(path):
    book, formatting = open_book(path)
    sheets = []
    for sheet in book.sheets():
        cells = []
        for row in range(sheet.nrows):
            types = sheet.row_types(row)
            # A sheet with a far corner cell has tens of thousands of padded, empty rows:
            # they are passed over at once rather than cell by cell.
            if types.count(xlrd.XL_CELL_EMPTY) + types.count(xlrd.XL_CELL_BLANK) == len(types):
                continue
            values = sheet.row_values(row)
            for col, ctype in enumerate(types):
                kind = KINDS.get(ctype)
                if kind is None:
                    continue
                value = values[col]
                if kind == "b":
                    value = bool(value)
                elif kind == "e":
                    value = xlrd.error_text_from_code.get(value, "#???")
                cells.append([row, col, kind, value] +
                             ([iso_date(value, book.datemode)] if kind == "d" else []))
        notes = [[r, c, note.text] for (r, c), note in sorted(sheet.cell_note_map.items())]
        merged = [[rlo, clo, rhi - 1, chi - 1] for rlo, rhi, clo, chi in sheet.merged_cells]
        sheets.append({"name": sheet.name, "cells": cells, "notes": notes,
                       "merged": merged if formatting else None})
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
