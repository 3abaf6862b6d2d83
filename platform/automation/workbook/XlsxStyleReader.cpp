#include "platform/automation/workbook/XlsxStyleReader.h"

#include "platform/automation/workbook/FormatCodes.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/NumberFormatTable.h"

#include <QHash>
#include <QXmlStreamReader>

#include <array>

namespace platform::automation::workbook {
namespace {

// The colours of the default document theme, by theme colour number.
constexpr std::array<uint32_t, 10> kThemeColours = {0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D,
                                                    0x4F81BD, 0xC0504D, 0x9BBB59, 0x8064A2,
                                                    0x4BACC6, 0xF79646};

bool flagOf(const QXmlStreamAttributes& attributes, QLatin1String name, bool absent)
{
    if (!attributes.hasAttribute(name)) {
        return absent;
    }
    const QStringView value = attributes.value(name);
    return value == u"1" || value == u"true";
}

int borderCodeOf(QStringView style)
{
    static const std::array<QStringView, 14> kNames = {u"none",
                                                       u"thin",
                                                       u"medium",
                                                       u"dashed",
                                                       u"dotted",
                                                       u"thick",
                                                       u"double",
                                                       u"hair",
                                                       u"mediumDashed",
                                                       u"dashDot",
                                                       u"mediumDashDot",
                                                       u"dashDotDot",
                                                       u"mediumDashDotDot",
                                                       u"slantDashDot"};
    for (size_t code = 0; code < kNames.size(); ++code) {
        if (kNames[code] == style) {
            return static_cast<int>(code);
        }
    }
    return 0;
}

int horizontalCodeOf(QStringView name)
{
    static const std::array<QStringView, 8> kNames = {
        u"general", u"left",    u"center",           u"right",
        u"fill",    u"justify", u"centerContinuous", u"distributed"};
    for (size_t code = 0; code < kNames.size(); ++code) {
        if (kNames[code] == name) {
            return static_cast<int>(code);
        }
    }
    return 0;
}

int verticalCodeOf(QStringView name)
{
    static const std::array<QStringView, 5> kNames = {u"top", u"center", u"bottom", u"justify",
                                                      u"distributed"};
    for (size_t code = 0; code < kNames.size(); ++code) {
        if (kNames[code] == name) {
            return static_cast<int>(code);
        }
    }
    return 2;
}

Font readFont(QXmlStreamReader& xml)
{
    Font font;
    font.bold = false;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        const QXmlStreamAttributes attributes = xml.attributes();
        if (name == u"b") {
            font.bold = flagOf(attributes, QLatin1String("val"), true);
        } else if (name == u"i") {
            font.italic = flagOf(attributes, QLatin1String("val"), true);
        } else if (name == u"u") {
            const QStringView value = attributes.value(QLatin1String("val"));
            font.underline = value == u"none"              ? Underline::None
                             : value.startsWith(u"double") ? Underline::Double
                                                           : Underline::Single;
        } else if (name == u"sz") {
            font.size = attributes.value(QLatin1String("val")).toDouble();
        } else if (name == u"name") {
            font.name = attributes.value(QLatin1String("val")).toString();
        } else if (name == u"color") {
            // The theme's text colour is what the spreadsheet shows as automatic.
            font.colorIndex = attributes.value(QLatin1String("theme")) == u"1"
                                  ? Palette::kAutomatic
                                  : XlsxStyleReader::colorIndexOf(attributes);
        }
        xml.skipCurrentElement();
    }
    return font;
}

int readFill(QXmlStreamReader& xml)
{
    int colour = Palette::kNone;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"patternFill" &&
            xml.attributes().value(QLatin1String("patternType")) == u"solid") {
            while (xml.readNextStartElement()) {
                if (xml.name() == u"fgColor") {
                    colour = XlsxStyleReader::colorIndexOf(xml.attributes());
                }
                xml.skipCurrentElement();
            }
        } else {
            xml.skipCurrentElement();
        }
    }
    return Palette::isIndex(colour) ? colour : Palette::kNone;
}

Borders readBorder(QXmlStreamReader& xml)
{
    Borders borders;
    while (xml.readNextStartElement()) {
        const QStringView name = xml.name();
        const int code = borderCodeOf(xml.attributes().value(QLatin1String("style")));
        int colour = Palette::kAutomatic;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"color") {
                colour = XlsxStyleReader::colorIndexOf(xml.attributes());
            }
            xml.skipCurrentElement();
        }
        const BorderLine line = FormatCodes::borderFromCode(code, colour);
        if (name == u"left" || name == u"start") {
            borders.edge(Edge::Left) = line;
        } else if (name == u"right" || name == u"end") {
            borders.edge(Edge::Right) = line;
        } else if (name == u"top") {
            borders.edge(Edge::Top) = line;
        } else if (name == u"bottom") {
            borders.edge(Edge::Bottom) = line;
        }
    }
    return borders;
}

template <typename T, typename Reader>
void readList(QXmlStreamReader& xml, QStringView item, std::vector<T>& list, Reader reader)
{
    while (xml.readNextStartElement()) {
        if (xml.name() == item) {
            list.push_back(reader(xml));
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

int XlsxStyleReader::colorIndexOf(const QXmlStreamAttributes& attributes)
{
    if (flagOf(attributes, QLatin1String("auto"), false)) {
        return Palette::kAutomatic;
    }
    if (attributes.hasAttribute(QLatin1String("rgb"))) {
        bool ok = false;
        const uint32_t argb = attributes.value(QLatin1String("rgb")).toUInt(&ok, 16);
        return ok ? Palette::nearestIndex(argb & 0xFFFFFF) : Palette::kAutomatic;
    }
    if (attributes.hasAttribute(QLatin1String("indexed"))) {
        return FormatCodes::colorFromBiff(attributes.value(QLatin1String("indexed")).toInt());
    }
    if (attributes.hasAttribute(QLatin1String("theme"))) {
        const int theme = attributes.value(QLatin1String("theme")).toInt();
        if (theme >= 0 && theme < static_cast<int>(kThemeColours.size())) {
            return Palette::nearestIndex(kThemeColours[static_cast<size_t>(theme)]);
        }
    }
    return Palette::kAutomatic;
}

void XlsxStyleReader::read(const QByteArray& data)
{
    QHash<int, QString> numberFormats;
    struct XfIds
    {
        int numberFormat = 0;
        int font = 0;
        int fill = 0;
        int border = 0;
        Alignment alignment;
    };
    std::vector<XfIds> xfs;

    QXmlStreamReader xml(data);
    if (xml.readNextStartElement()) {
        while (xml.readNextStartElement()) {
            const QStringView section = xml.name();
            if (section == u"numFmts") {
                while (xml.readNextStartElement()) {
                    if (xml.name() == u"numFmt") {
                        numberFormats.insert(
                            xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                            xml.attributes().value(QLatin1String("formatCode")).toString());
                    }
                    xml.skipCurrentElement();
                }
            } else if (section == u"fonts") {
                readList(xml, u"font", m_fonts, readFont);
            } else if (section == u"fills") {
                readList(xml, u"fill", m_fills, readFill);
            } else if (section == u"borders") {
                readList(xml, u"border", m_borders, readBorder);
            } else if (section == u"cellXfs") {
                readList(xml, u"xf", xfs, [](QXmlStreamReader& reader) {
                    XfIds ids;
                    const QXmlStreamAttributes attributes = reader.attributes();
                    ids.numberFormat = attributes.value(QLatin1String("numFmtId")).toInt();
                    ids.font = attributes.value(QLatin1String("fontId")).toInt();
                    ids.fill = attributes.value(QLatin1String("fillId")).toInt();
                    ids.border = attributes.value(QLatin1String("borderId")).toInt();
                    while (reader.readNextStartElement()) {
                        if (reader.name() == u"alignment") {
                            const QXmlStreamAttributes align = reader.attributes();
                            ids.alignment.horizontal = FormatCodes::horizontalFromCode(
                                horizontalCodeOf(align.value(QLatin1String("horizontal"))));
                            ids.alignment.vertical = FormatCodes::verticalFromCode(
                                verticalCodeOf(align.value(QLatin1String("vertical"))));
                            ids.alignment.wrapText =
                                flagOf(align, QLatin1String("wrapText"), false);
                        }
                        reader.skipCurrentElement();
                    }
                    return ids;
                });
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError()) {
        throw FormatError(QStringLiteral("The workbook's styles are damaged: ") +
                          xml.errorString());
    }
    for (const XfIds& ids : xfs) {
        CellFormat format;
        if (ids.font >= 0 && ids.font < static_cast<int>(m_fonts.size())) {
            format.font = m_fonts[static_cast<size_t>(ids.font)];
        }
        if (ids.fill >= 0 && ids.fill < static_cast<int>(m_fills.size())) {
            format.fillColorIndex = m_fills[static_cast<size_t>(ids.fill)];
        }
        if (ids.border >= 0 && ids.border < static_cast<int>(m_borders.size())) {
            format.borders = m_borders[static_cast<size_t>(ids.border)];
        }
        const auto custom = numberFormats.constFind(ids.numberFormat);
        const QString builtIn = NumberFormatTable::builtIn(ids.numberFormat);
        format.numberFormat = custom != numberFormats.constEnd() ? custom.value()
                              : builtIn.isEmpty()                ? QStringLiteral("General")
                                                                 : builtIn;
        format.alignment = ids.alignment;
        m_formats.push_back(format);
    }
}

const CellFormat& XlsxStyleReader::format(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_formats.size())) {
        return m_default;
    }
    return m_formats[static_cast<size_t>(index)];
}

} // namespace platform::automation::workbook
