#include "platform/automation/outlook/MimeMessage.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUuid>

namespace platform::automation::outlook {

namespace {

const QByteArray kEnd = QByteArrayLiteral("\r\n");

bool plainAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

// Base64 in lines of 76 characters.
QByteArray base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray lines;
    for (qsizetype at = 0; at < encoded.size(); at += 76)
        lines += encoded.mid(at, 76) + kEnd;
    return lines;
}

// Text with CR LF line ends.
QByteArray crlf(const QString& text)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    normal.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return normal.toUtf8();
}

QByteArray rfc2822Date(const QDateTime& date)
{
    const QLocale c = QLocale::c();
    const int offset = date.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    return (c.toString(date, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + zone).toLatin1();
}

// A file name parameter: quoted when ASCII, else an encoded word (what mail readers take).
QByteArray fileNameParameter(const QString& name)
{
    if (plainAscii(name)) {
        QString quoted = name;
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        quoted.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return '"' + quoted.toLatin1() + '"';
    }
    return '"' + MimeMessage::encodedHeaderText(name) + '"';
}

} // namespace

QByteArray MimeMessage::encodedHeaderText(const QString& text)
{
    if (plainAscii(text))
        return text.toLatin1();
    // Words of at most 45 bytes of UTF-8 (60 of base64), cut between whole characters.
    QByteArray words;
    QByteArray chunk;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size())
            one += text[++i];
        const QByteArray bytes = one.toUtf8();
        if (chunk.size() + bytes.size() > 45) {
            words += (words.isEmpty() ? "" : "\r\n ") + QByteArray("=?UTF-8?B?") +
                     chunk.toBase64() + "?=";
            chunk.clear();
        }
        chunk += bytes;
    }
    if (!chunk.isEmpty())
        words +=
            (words.isEmpty() ? "" : "\r\n ") + QByteArray("=?UTF-8?B?") + chunk.toBase64() + "?=";
    return words;
}

QStringList MimeMessage::addresses(const QString& line)
{
    QStringList found;
    static const QRegularExpression separators(QStringLiteral("[;,]"));
    for (QString part : line.split(separators, Qt::SkipEmptyParts)) {
        part = part.trimmed();
        const qsizetype open = part.lastIndexOf(QLatin1Char('<'));
        const qsizetype close = part.lastIndexOf(QLatin1Char('>'));
        if (open >= 0 && close > open)
            part = part.mid(open + 1, close - open - 1).trimmed();
        if (!part.isEmpty())
            found << part;
    }
    return found;
}

QByteArray MimeMessage::bytes() const
{
    QByteArray message;
    message += "Date: " + rfc2822Date(date) + kEnd;
    message += "From: " + from.toUtf8() + kEnd;
    if (!to.isEmpty())
        message += "To: " + to.join(QStringLiteral(", ")).toUtf8() + kEnd;
    if (!cc.isEmpty())
        message += "Cc: " + cc.join(QStringLiteral(", ")).toUtf8() + kEnd;
    message += "Subject: " + encodedHeaderText(subject) + kEnd;
    const QString domain = from.contains(QLatin1Char('@')) ? from.section(QLatin1Char('@'), -1)
                                                           : QStringLiteral("localhost");
    message += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() +
               "@" + domain.toLatin1() + ">" + kEnd;
    message += "MIME-Version: 1.0" + kEnd;

    const QByteArray text = "Content-Type: text/plain; charset=UTF-8" + kEnd +
                            "Content-Transfer-Encoding: base64" + kEnd + kEnd +
                            base64Lines(crlf(body));
    if (attachments.empty())
        return message + text;

    const QByteArray boundary =
        "=_part_" + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    message += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"" + kEnd + kEnd;
    message += "This is a multi-part message in MIME format." + kEnd;
    message += "--" + boundary + kEnd + text;
    for (const Attachment& attachment : attachments) {
        const QByteArray name = fileNameParameter(attachment.fileName);
        message += "--" + boundary + kEnd;
        message += "Content-Type: application/octet-stream; name=" + name + kEnd;
        message += "Content-Transfer-Encoding: base64" + kEnd;
        message += "Content-Disposition: attachment; filename=" + name + kEnd + kEnd;
        message += base64Lines(attachment.data);
    }
    message += "--" + boundary + "--" + kEnd;
    return message;
}

} // namespace platform::automation::outlook
