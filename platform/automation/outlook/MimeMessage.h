#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform::automation::outlook {

// An Internet message (RFC 5322 with MIME): a UTF-8 text body and attachments sent as base64
// with their file names and the type their names give. Header texts that are not plain ASCII
// are encoded words; file names that are not are extended (UTF-8) parameters.
class MimeMessage
{
public:
    struct Attachment
    {
        QString fileName;
        QByteArray data;
    };

    QString from;
    QStringList to;
    QStringList cc; // blind copies are recipients only, never a header
    QString subject;
    QString body;
    std::vector<Attachment> attachments;
    QDateTime date = QDateTime::currentDateTime();

    // The whole message with CR LF line ends.
    QByteArray bytes() const;

    // "=?UTF-8?B?...?=" words for a text that is not plain printable ASCII; the text otherwise.
    static QByteArray encodedHeaderText(const QString& text);
    // The addresses of a recipient line: separated by ";" or ",", blanks around dropped, a
    // "Name <address>" form reduced to the address.
    static QStringList addresses(const QString& line);
};

} // namespace platform::automation::outlook
