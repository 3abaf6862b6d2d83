#pragma once

#include <QString>

#include <exception>

namespace platform::automation::workbook {

// Raised inside the file readers and writers when a file is damaged, not of the expected kind
// or cannot be written; the WorkbookFile entry points turn it into an error message. A file
// operation that failed leaves its errno, so that callers can tell a full disk from no access.
class FormatError : public std::exception
{
public:
    explicit FormatError(QString message, int systemError = 0)
        : m_message(std::move(message)), m_systemError(systemError)
    {
    }

    const QString& message() const { return m_message; }
    int systemError() const { return m_systemError; }
    const char* what() const noexcept override { return "workbook file error"; }

private:
    QString m_message;
    int m_systemError = 0;
};

} // namespace platform::automation::workbook
