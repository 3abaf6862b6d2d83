#pragma once

#include <QString>

#include <variant>

namespace platform::automation::workbook {

// What a cell holds: nothing, a number, a text or a boolean. An error value read from a file
// ("#N/A") is kept as its text.
class CellValue
{
public:
    enum class Type { Empty, Number, Text, Boolean };

    CellValue() = default;
    static CellValue number(double value);
    static CellValue text(const QString& value);
    static CellValue boolean(bool value);

    Type type() const;
    bool isEmpty() const { return type() == Type::Empty; }
    double toNumber() const;          // 0 unless a number or a boolean
    bool toBoolean() const;           // false unless a true boolean or a non-zero number
    const QString& textValue() const; // empty unless a text
    // The value as the spreadsheet gives it as text: numbers with up to 15 significant
    // digits and "." as the point, booleans "TRUE"/"FALSE".
    QString toText() const;

    bool operator==(const CellValue&) const = default;

private:
    std::variant<std::monostate, double, QString, bool> m_value;
};

} // namespace platform::automation::workbook
