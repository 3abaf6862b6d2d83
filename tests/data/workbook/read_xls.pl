#!/usr/bin/perl
# Prints what an independent reader sees in a binary workbook, one fact a line, tab-separated:
# sheet, cell (reference, value, bold, italic, size, horizontal, vertical, borders left/right/
# top/bottom, number format, font colour), merge, width (as the spreadsheet shows it).
use strict;
use warnings;
use Spreadsheet::ParseExcel;

binmode STDOUT, ':encoding(UTF-8)';
my $parser = Spreadsheet::ParseExcel->new;
my $book = $parser->parse($ARGV[0]) or die 'parse error: ' . $parser->error() . "\n";
my $formats = $book->{FmtClass} || $parser->{FmtClass};
my @horizontal = qw(general left center right fill justify centerContinuous distributed);
my @vertical = qw(top center bottom justify distributed);
my @lines = qw(none thin medium dashed dotted thick double hair);

sub column_name {
    my ($column) = @_;
    my $name = '';
    $column += 1;
    while ($column > 0) {
        my $digit = ($column - 1) % 26;
        $name = chr(65 + $digit) . $name;
        $column = int(($column - 1) / 26);
    }
    return $name;
}

sub colour {
    my ($index) = @_;
    return 'auto' if !defined $index || $index >= 64 || $index < 8;
    return lc Spreadsheet::ParseExcel->ColorIdxToRGB($index);
}

for my $sheet ($book->worksheets()) {
    print "sheet\t", $sheet->get_name(), "\n";
    my ($first_row, $last_row) = $sheet->row_range();
    my ($first_column, $last_column) = $sheet->col_range();
    for my $row ($first_row .. $last_row) {
        for my $column ($first_column .. $last_column) {
            my $cell = $sheet->get_cell($row, $column) or next;
            my $format = $cell->get_format();
            my $font = $format->{Font};
            my $borders = join(',', map { $lines[$_ // 0] // $_ } @{ $format->{BdrStyle} });
            my $value = $cell->unformatted() // '';
            $value = $cell->value() if $cell->type() eq 'Text';
            printf "cell\t%s%d\t%s\t%d\t%d\t%s\t%s\t%s\t%s\t%s\t%s\n", column_name($column), $row + 1,
                $value, $font->{Bold} ? 1 : 0, $font->{Italic} ? 1 : 0, $font->{Height},
                $horizontal[$format->{AlignH}], $vertical[$format->{AlignV}], $borders,
                $formats->FmtStringDef($format->{FmtIdx}, $book) // 'General', colour($font->{Color});
        }
    }
    for my $area (@{ $sheet->get_merged_areas() || [] }) {
        printf "merge\t%s%d:%s%d\n", column_name($area->[1]), $area->[0] + 1,
            column_name($area->[3]), $area->[2] + 1;
    }
    my $widths = $sheet->{ColWidth} || [];
    for my $column (0 .. $#$widths) {
        printf "width\t%s\t%.2f\n", column_name($column), $widths->[$column] if defined $widths->[$column];
    }
}
