#pragma once

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

namespace platform::automation::workbook {

// Builds a compound file (version 3, 512-byte sectors) holding streams at its root. Streams of
// 4096 bytes or more take regular sectors; smaller ones go into the mini stream. The FAT grows
// into DIFAT sectors when it needs more than the header's 109 places.
class CompoundFileWriter
{
public:
    void addStream(const QString& name, const QByteArray& data);
    QByteArray build() const;

private:
    std::vector<std::pair<QString, QByteArray>> m_streams;
};

} // namespace platform::automation::workbook
