"""Prints the shared strings xlrd reads from a workbook: the count, then each string as the
hex of its UTF-16LE bytes, one a line."""
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], on_demand=True)
strings = book._sharedstrings
print(len(strings))
for text in strings:
    print(text.encode("utf-16-le").hex())
