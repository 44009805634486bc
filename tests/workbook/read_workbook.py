"""Prints a workbook's first worksheet as lines a test can compare: the number of worksheets,
the width of columns A to AG, then one line per cell that holds a value:
row <TAB> column <TAB> s|n <TAB> value <TAB> number format."""
import sys

import openpyxl
from openpyxl.utils import get_column_letter

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
print("sheets\t%d" % len(book.worksheets))
for c in range(1, 34):
    letter = get_column_letter(c)
    dim = sheet.column_dimensions.get(letter) if letter in sheet.column_dimensions else None
    print("width\t%d\t%s" % (c, "%.2f" % dim.width if dim is not None and dim.width else "-"))
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is None:
            continue
        kind = "s" if isinstance(cell.value, str) else "n"
        value = cell.value if kind == "s" else repr(float(cell.value))
        print("%d\t%d\t%s\t%s\t%s" % (cell.row, cell.column, kind, value, cell.number_format))
