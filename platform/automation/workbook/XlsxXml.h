#pragma once

#include <QString>
#include <QStringView>
#include <QXmlStreamReader>

namespace platform::automation::workbook {

// Small helpers for the XML parts of an Office Open XML workbook.
class XlsxXml
{
public:
    static QStringView attribute(const QXmlStreamReader& xml, const char* name);
    static bool flag(const QXmlStreamReader& xml, const char* name); // "1" or "true"
    // FormatError naming the part when the reader met broken XML.
    static void check(const QXmlStreamReader& xml, const QString& part);
    // Texts escape characters that XML cannot hold as _xHHHH_.
    static QString unescape(QString text);
    // A text that itself reads as such an escape keeps its "_" as _x005F_, so that a reader's
    // unescape gives it back as written ("_x0041_" stays that, not "A").
    static QString escapeLookalikes(const QString& text);
    // The text of an <si> or <is>: its <t>, or the <t> of each rich-text run; phonetic runs are
    // not part of the text.
    static QString richText(QXmlStreamReader& xml);
};

} // namespace platform::automation::workbook
