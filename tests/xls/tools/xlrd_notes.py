"""Prints the cell notes xlrd reads from a workbook, one a line: sheet|row|col|author|text
(line ends in the text shown as \\n)."""
import io
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], logfile=io.StringIO())
for sheet in book.sheets():
    for (row, col), note in sorted(sheet.cell_note_map.items()):
        print("%s|%d|%d|%s|%s" % (sheet.name, row, col, note.author,
                                  note.text.replace("\n", "\\n")))
