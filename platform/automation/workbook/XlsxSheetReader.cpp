#include "platform/automation/workbook/XlsxSheetReader.h"

#include "platform/automation/workbook/ColumnWidthUnits.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/FormulaValue.h"
#include "platform/automation/workbook/XlsxXml.h"

#include <algorithm>

namespace platform::automation::workbook {

XlsxSheetReader::XlsxSheetReader(Worksheet& sheet, const XlsxStyleReader& styles,
                                 const std::vector<QString>& strings)
    : m_sheet(sheet), m_styles(styles), m_strings(strings)
{
}

void XlsxSheetReader::read(const QByteArray& data, const QString& part)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView name = xml.name();
        if (name == u"col") {
            readColumn(xml);
        } else if (name == u"row") {
            readRow(xml);
        } else if (name == u"mergeCell") {
            if (const std::optional<CellRange> range =
                    CellRange::parse(XlsxXml::attribute(xml, "ref"))) {
                m_merges.push_back(*range);
            }
        }
    }
    XlsxXml::check(xml, part);
    if (!m_sheet.merges().mergeAll(m_merges)) {
        throw FormatError(QStringLiteral("The workbook is damaged: merged areas overlap"));
    }
}

void XlsxSheetReader::readColumn(QXmlStreamReader& xml)
{
    const int first = std::max(1, XlsxXml::attribute(xml, "min").toInt());
    const int last = std::min(CellRange::kMaxColumns, XlsxXml::attribute(xml, "max").toInt());
    const bool hidden = XlsxXml::flag(xml, "hidden");
    bool known = false;
    const double fileWidth = XlsxXml::attribute(xml, "width").toDouble(&known);
    if (!hidden && !known) {
        return;
    }
    const double width = hidden ? 0.0 : ColumnWidthUnits::fromFileWidth(fileWidth);
    for (int column = first; column <= last; ++column) {
        m_sheet.setColumnWidth(column, width);
    }
}

void XlsxSheetReader::readRow(QXmlStreamReader& xml)
{
    const int number = XlsxXml::attribute(xml, "r").toInt();
    m_row = number > 0 ? number : m_row + 1;
    m_column = 0;
    if (XlsxXml::flag(xml, "hidden")) {
        m_sheet.setRowHeight(m_row, 0.0);
    } else if (XlsxXml::flag(xml, "customHeight")) {
        bool known = false;
        const double height = XlsxXml::attribute(xml, "ht").toDouble(&known);
        if (known) {
            m_sheet.setRowHeight(m_row, height);
        }
    }
    while (xml.readNextStartElement()) {
        if (xml.name() == u"c") {
            readCell(xml);
        } else {
            xml.skipCurrentElement();
        }
    }
}

void XlsxSheetReader::readCell(QXmlStreamReader& xml)
{
    const std::optional<CellRange> reference = CellRange::parse(XlsxXml::attribute(xml, "r"));
    const int row = reference ? reference->firstRow : m_row;
    m_column = reference ? reference->firstColumn : m_column + 1;
    const QString type = XlsxXml::attribute(xml, "t").toString();
    const int style = XlsxXml::attribute(xml, "s").toInt();
    QString raw;
    QString formula;
    bool hasValue = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v") {
            raw = xml.readElementText();
            hasValue = true;
        } else if (xml.name() == u"f") {
            formula = xml.readElementText();
        } else if (xml.name() == u"is") {
            raw = XlsxXml::richText(xml);
            hasValue = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    if (row < 1 || row > CellRange::kMaxRows || m_column < 1 || m_column > CellRange::kMaxColumns) {
        return;
    }
    Cell& cell = m_sheet.cell(row, m_column);
    cell.format = m_styles.format(style);
    if (!formula.isEmpty()) {
        cell.formula = u'=' + formula;
    }
    if (!hasValue) {
        return;
    }
    if (type == u"s") {
        bool ok = false;
        const uint index = raw.toUInt(&ok);
        if (!ok || index >= m_strings.size()) {
            throw FormatError(QStringLiteral("The workbook is damaged: a text is missing"));
        }
        cell.value = CellValue::text(m_strings[index]);
    } else if (type == u"b") {
        cell.value = CellValue::boolean(raw.trimmed() == u"1");
    } else if (type == u"str" || type == u"inlineStr" || type == u"e" || type == u"d") {
        cell.value = CellValue::text(XlsxXml::unescape(raw));
    } else if (raw.isEmpty()) {
        return; // a formula saved without its result
    } else if (const std::optional<double> number = FormulaValue::parseNumber(raw)) {
        cell.value = CellValue::number(*number);
    } else {
        cell.value = CellValue::text(raw);
    }
}

} // namespace platform::automation::workbook
