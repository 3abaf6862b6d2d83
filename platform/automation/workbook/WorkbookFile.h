#pragma once

#include "platform/automation/workbook/Workbook.h"

#include <QString>

#include <optional>

namespace platform::automation::workbook {

// Saving and opening workbook files. The save format follows the name: ".xlsx" writes Office
// Open XML, any other name the 97-2003 binary workbook (.xls). Opening looks at the content,
// so a binary workbook named ".xlsx" (or the other way round) still opens.
class WorkbookFile
{
public:
    enum class Format { Xls, Xlsx };

    static Format formatForName(const QString& path);

    // An existing file is replaced only once the new one is complete; on failure it is left as
    // it was, error (when given) says why, and systemError (when given) is the errno of the
    // file operation that failed (ENOSPC, EFBIG, EACCES ...) or 0 when no file operation did.
    static bool save(const Workbook& workbook, const QString& path, QString* error = nullptr,
                     int* systemError = nullptr);
    // Nothing, with the reason in error, for a missing, unreadable, damaged or foreign file.
    static std::optional<Workbook> open(const QString& path, QString* error = nullptr);
};

} // namespace platform::automation::workbook
