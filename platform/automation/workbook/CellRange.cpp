#include "platform/automation/workbook/CellRange.h"

#include <algorithm>

namespace platform::automation::workbook {
namespace {

struct Corner
{
    int row = 0;
    int column = 0;
};

std::optional<Corner> parseCorner(QStringView text)
{
    qsizetype at = 0;
    if (at < text.size() && text[at] == u'$') {
        ++at;
    }
    const qsizetype lettersStart = at;
    while (at < text.size() && text[at].isLetter() && text[at].unicode() < 128) {
        ++at;
    }
    const std::optional<int> column =
        CellRange::columnNumber(text.mid(lettersStart, at - lettersStart));
    if (!column) {
        return std::nullopt;
    }
    if (at < text.size() && text[at] == u'$') {
        ++at;
    }
    if (at >= text.size() || text.size() - at > 7) {
        return std::nullopt;
    }
    int row = 0;
    for (; at < text.size(); ++at) {
        if (!text[at].isDigit() || text[at].unicode() >= 128) {
            return std::nullopt;
        }
        row = row * 10 + text[at].digitValue();
    }
    if (row < 1 || row > CellRange::kMaxRows) {
        return std::nullopt;
    }
    return Corner{row, *column};
}

} // namespace

std::optional<int> CellRange::columnNumber(QStringView letters)
{
    if (letters.isEmpty() || letters.size() > 3) {
        return std::nullopt;
    }
    int column = 0;
    for (QChar letter : letters) {
        const char16_t upper = letter.toUpper().unicode();
        if (upper < u'A' || upper > u'Z') {
            return std::nullopt;
        }
        column = column * 26 + (upper - u'A' + 1);
    }
    if (column > kMaxColumns) {
        return std::nullopt;
    }
    return column;
}

QString CellRange::columnName(int column)
{
    QString name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.prepend(QChar(u'A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

std::optional<CellRange> CellRange::parse(QStringView text)
{
    text = text.trimmed();
    const qsizetype colon = text.indexOf(u':');
    const std::optional<Corner> first = parseCorner(colon < 0 ? text : text.left(colon));
    const std::optional<Corner> last = colon < 0 ? first : parseCorner(text.mid(colon + 1));
    if (!first || !last) {
        return std::nullopt;
    }
    return CellRange{std::min(first->row, last->row), std::min(first->column, last->column),
                     std::max(first->row, last->row), std::max(first->column, last->column)};
}

QString CellRange::toA1() const
{
    QString text = columnName(firstColumn) + QString::number(firstRow);
    if (!isSingleCell()) {
        text += u':' + columnName(lastColumn) + QString::number(lastRow);
    }
    return text;
}

bool CellRange::contains(int row, int column) const
{
    return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
}

bool CellRange::intersects(const CellRange& other) const
{
    return firstRow <= other.lastRow && other.firstRow <= lastRow &&
           firstColumn <= other.lastColumn && other.firstColumn <= lastColumn;
}

} // namespace platform::automation::workbook
