#include "platform/automation/SystemFileName.h"

#include "platform/storage/RecordFile.h"

#include <QFile>
#include <QFileInfo>

namespace platform::automation {

QString systemFileName(std::string_view name)
{
    const std::string resolved = platform::storage::resolveFileName(name);
    if (resolved.empty())
        return {};
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(resolved))).absoluteFilePath();
}

} // namespace platform::automation
