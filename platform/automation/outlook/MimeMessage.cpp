#include "platform/automation/outlook/MimeMessage.h"

#include <QLocale>
#include <QMimeDatabase>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUuid>

#include <algorithm>

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

QByteArray quotedString(const QByteArray& text)
{
    QByteArray quoted = text;
    quoted.replace('\\', "\\\\");
    quoted.replace('"', "\\\"");
    return '"' + quoted + '"';
}

// A stand-in name for readers that know no other: Russian letters spelt in Latin ones, any other
// character outside printable ASCII as "_".
QByteArray asciiFileName(const QString& name)
{
    static const char* const russian[] = {
        "a", "b", "v", "g", "d", "e",  "zh", "z",  "i",  "y",    "k", "l", "m", "n", "o",  "p",
        "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "",  "y", "",  "e", "yu", "ya"};
    QByteArray ascii;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const char16_t lower = c.toLower().unicode();
        if (u >= 0x20 && u <= 0x7E) {
            ascii += static_cast<char>(u);
        } else if (lower >= 0x0430 && lower <= 0x044F) {
            QByteArray latin(russian[lower - 0x0430]);
            if (u != lower && !latin.isEmpty())
                latin[0] = static_cast<char>(latin[0] - 'a' + 'A');
            ascii += latin;
        } else if (lower == 0x0451) {
            ascii += u == lower ? "yo" : "Yo";
        } else if (!c.isLowSurrogate()) {
            ascii += '_';
        }
    }
    return ascii;
}

// A file name parameter ("name" or "filename"). A name in plain ASCII is one quoted string;
// any other goes in UTF-8 as an extended parameter, cut into numbered sections so that no
// header line grows long, followed by a plain ASCII name for readers that know no extended
// ones. Encoded words are not allowed inside a quoted parameter.
QByteArray fileNameParameter(const char* parameter, const QString& name)
{
    const QByteArray plain = QByteArray(parameter) + '=';
    if (plainAscii(name))
        return plain + quotedString(name.toLatin1());
    QByteArray value = "UTF-8''" + name.toUtf8().toPercentEncoding("!#$&+-.^_`|~");
    if (value.size() <= 60)
        return QByteArray(parameter) + "*=" + value + ";" + kEnd + " " + plain +
               quotedString(asciiFileName(name));
    QByteArray sections;
    for (int section = 0; !value.isEmpty(); ++section) {
        qsizetype cut = std::min<qsizetype>(value.size(), 60);
        // A "%XX" escape stays whole.
        if (const qsizetype percent = value.lastIndexOf('%', cut - 1); percent > cut - 3)
            cut = percent;
        sections += QByteArray(parameter) + '*' + QByteArray::number(section) +
                    "*=" + value.left(cut) + ";" + kEnd + " ";
        value.remove(0, cut);
    }
    return sections + plain + quotedString(asciiFileName(name));
}

// The type of an attachment by its file name; a text says its character set: UTF-8 when it
// reads as such, else the Windows-1251 that the program's own files are written in.
QByteArray contentType(const QString& fileName, const QByteArray& data)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    const QByteArray name = type.isValid() ? type.name().toLatin1() : "application/octet-stream";
    if (!name.startsWith("text/"))
        return name;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(data);
    const bool isUtf8 = !utf8.hasError() && decoded.size() != data.size();
    return name + "; charset=" + (isUtf8 ? "UTF-8" : "windows-1251");
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
        message += "--" + boundary + kEnd;
        message += "Content-Type: " + contentType(attachment.fileName, attachment.data) + ";" +
                   kEnd + " " + fileNameParameter("name", attachment.fileName) + kEnd;
        message += "Content-Transfer-Encoding: base64" + kEnd;
        message += "Content-Disposition: attachment;" + kEnd + " " +
                   fileNameParameter("filename", attachment.fileName) + kEnd + kEnd;
        message += base64Lines(attachment.data);
    }
    message += "--" + boundary + "--" + kEnd;
    return message;
}

} // namespace platform::automation::outlook
