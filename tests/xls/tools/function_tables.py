"""Prints the built-in function tables of xlrd and xlwt: source, number, name, minimum and
maximum argument counts, one function a line."""
import xlrd.formula
from xlwt import ExcelMagic

for number, entry in sorted(xlrd.formula.func_defs.items()):
    print("xlrd %d %s %d %d" % (number, entry[0], entry[1], entry[2]))
for name, entry in sorted(ExcelMagic.all_funcs_by_name.items()):
    print("xlwt %d %s %d %d" % (entry[0], name, entry[1], entry[2]))
