"""Prints every cell of a workbook's first worksheet that holds a value, one line each:
row <TAB> column <TAB> the value as a JSON text (so that CR, LF and TAB stay on the line)."""
import json
import sys

import openpyxl

sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is not None:
            print("%d\t%d\t%s" % (cell.row, cell.column, json.dumps(cell.value)))
