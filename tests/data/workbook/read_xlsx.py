"""Prints what an independent reader sees in an Office Open XML workbook, one fact a line,
tab-separated, in the same shape as read_xls.pl."""
import sys

import openpyxl


def colour(color):
    if color is None or color.type != 'rgb' or not isinstance(color.rgb, str):
        return 'auto'
    return color.rgb[-6:].lower()


def main(path):
    book = openpyxl.load_workbook(path)
    out = sys.stdout
    for sheet in book.worksheets:
        out.write('sheet\t%s\n' % sheet.title)
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None and not cell.has_style:
                    continue
                value = cell.value
                if isinstance(value, bool):
                    value = 'TRUE' if value else 'FALSE'
                elif isinstance(value, float) and value.is_integer():
                    value = int(value)
                border = cell.border
                borders = ','.join((side.style or 'none') for side in
                                   (border.left, border.right, border.top, border.bottom))
                out.write('cell\t%s\t%s\t%d\t%d\t%s\t%s\t%s\t%s\t%s\t%s\n' % (
                    cell.coordinate, '' if value is None else value,
                    1 if cell.font.b else 0, 1 if cell.font.i else 0,
                    ('%g' % cell.font.sz) if cell.font.sz else '',
                    cell.alignment.horizontal or 'general', cell.alignment.vertical or 'bottom',
                    borders, cell.number_format, colour(cell.font.color)))
        for area in sheet.merged_cells.ranges:
            out.write('merge\t%s\n' % area.coord)
        for letter, dimension in sorted(sheet.column_dimensions.items()):
            if dimension.width:
                out.write('width\t%s\t%.2f\n' % (letter, dimension.width))


if __name__ == '__main__':
    sys.stdout.reconfigure(encoding='utf-8')
    main(sys.argv[1])
