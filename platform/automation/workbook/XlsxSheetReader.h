#pragma once

#include "platform/automation/workbook/Worksheet.h"
#include "platform/automation/workbook/XlsxStyleReader.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::automation::workbook {

// Reads one worksheet part of an Office Open XML workbook into a sheet: columns, rows with the
// heights the user set, cells of every type with their formats and formulas, merged areas. The
// part is given chunk by chunk (an expat parser: a sheet of millions of cells is read in a
// fraction of the time a DOM-like reader needs, and never held whole). An empty cell without a
// format of its own is not stored: a sheet costs what its cells hold, not what it declares.
class XlsxSheetReader
{
public:
    XlsxSheetReader(Worksheet& sheet, const XlsxStyleReader& styles,
                    const std::vector<QString>& strings, QString part);
    ~XlsxSheetReader();
    XlsxSheetReader(const XlsxSheetReader&) = delete;
    XlsxSheetReader& operator=(const XlsxSheetReader&) = delete;

    void feed(std::string_view chunk); // FormatError when damaged
    void finish();                     // FormatError when damaged or cut short

private:
    struct Parser;
    struct ColumnSpan
    {
        int first;
        int last;
        double width;
    };

    void startElement(std::string_view name, const char** attributes);
    void endElement(std::string_view name);
    void readColumn(const char** attributes);
    void readRow(const char** attributes);
    void startCell(const char** attributes);
    void endCell();
    void applyColumns();
    bool isPlainStyle(int style); // the default format: an empty cell of it need not be kept
    [[noreturn]] void damaged(const QString& why) const;

    Worksheet& m_sheet;
    const XlsxStyleReader& m_styles;
    const std::vector<QString>& m_strings;
    QString m_part;
    std::unique_ptr<Parser> m_parser;
    std::vector<CellRange> m_merges;
    std::vector<ColumnSpan> m_columns;
    int m_row = 0;
    int m_column = 0;

    // The cell being read.
    bool m_inCell = false;
    int m_cellRow = 0;
    std::string m_type;
    int m_style = 0;
    std::string m_text; // of <v>, <f> or the <t> of <is>
    std::string m_value;
    std::string m_formula;
    bool m_hasValue = false;
    bool m_collecting = false;
    int m_depthInInline = 0; // inside <is>: 1 directly, 2 in a run; phonetic runs are left out
    bool m_inPhonetic = false;

    // Whether each style index is the default format, worked out once per index.
    enum : int8_t { Unknown, Plain, Formatted };
    static constexpr int kRememberedStyles = 65536;
    std::vector<int8_t> m_plainStyles;
};

} // namespace platform::automation::workbook
