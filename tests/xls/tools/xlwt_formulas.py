"""Compiles each formula text given with xlwt and prints its tokens in hex, one a line."""
import sys

import xlwt

for text in sys.argv[1:]:
    print(xlwt.Formula(text).rpn()[2:].hex())
