"""Opens a workbook with xlrd and prints its sheet names and the first cell of each sheet."""
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1])
for sheet in book.sheets():
    first = sheet.cell_value(0, 0) if sheet.nrows and sheet.ncols else ""
    print("%s|%s" % (sheet.name, first))
