#pragma once

#include <QString>

#include <exception>

namespace platform::automation::workbook {

// Raised inside the file readers and writers when a file is damaged, not of the expected kind
// or cannot be written; the WorkbookFile entry points turn it into an error message.
class FormatError : public std::exception
{
public:
    explicit FormatError(QString message) : m_message(std::move(message)) {}

    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return "workbook file error"; }

private:
    QString m_message;
};

} // namespace platform::automation::workbook
