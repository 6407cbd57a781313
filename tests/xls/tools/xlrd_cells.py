"""Prints the cells of the first sheet xlrd reads, one a line: row, column and the value's
characters as the hex of their UTF-16LE bytes."""
import sys

import xlrd

sheet = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)
for row in range(sheet.nrows):
    for col in range(sheet.ncols):
        value = sheet.cell_value(row, col)
        if value != "":
            print("%d %d %s" % (row, col, str(value).encode("utf-16-le").hex()))
