#include "platform/automation/workbook/XlsxXml.h"

#include "platform/automation/workbook/FormatError.h"

#include <QRegularExpression>

namespace platform::automation::workbook {

QStringView XlsxXml::attribute(const QXmlStreamReader& xml, const char* name)
{
    return xml.attributes().value(QLatin1String(name));
}

void XlsxXml::check(const QXmlStreamReader& xml, const QString& part)
{
    if (xml.hasError()) {
        throw FormatError(
            QStringLiteral("The workbook is damaged: %1: %2").arg(part, xml.errorString()));
    }
}

bool XlsxXml::flag(const QXmlStreamReader& xml, const char* name)
{
    const QStringView value = attribute(xml, name);
    return value == u"1" || value == u"true";
}

QString XlsxXml::unescape(QString text)
{
    if (!text.contains(u"_x")) {
        return text;
    }
    static const QRegularExpression escaped(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString result;
    qsizetype last = 0;
    auto match = escaped.globalMatch(text);
    while (match.hasNext()) {
        const QRegularExpressionMatch found = match.next();
        result += QStringView(text).mid(last, found.capturedStart() - last);
        result += QChar(static_cast<char16_t>(found.captured(1).toUShort(nullptr, 16)));
        last = found.capturedEnd();
    }
    result += QStringView(text).mid(last);
    return result;
}

QString XlsxXml::escapeLookalikes(const QString& text)
{
    if (!text.contains(u"_x")) {
        return text;
    }
    static const QRegularExpression lookalike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString escaped = text;
    escaped.replace(lookalike, QStringLiteral("_x005F_"));
    return escaped;
}

QString XlsxXml::richText(QXmlStreamReader& xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t") {
            text += xml.readElementText();
        } else if (xml.name() == u"r") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"t") {
                    text += xml.readElementText();
                } else {
                    xml.skipCurrentElement();
                }
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return unescape(text);
}

} // namespace platform::automation::workbook
