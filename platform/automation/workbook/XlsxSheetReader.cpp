#include "platform/automation/workbook/XlsxSheetReader.h"

#include "platform/automation/workbook/ColumnWidthUnits.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/FormulaValue.h"
#include "platform/automation/workbook/XlsxXml.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace platform::automation::workbook {
namespace {

// Only the local part of a name matters, whatever prefix the writing program chose ("x:c").
std::string_view localName(const char* name)
{
    const std::string_view whole(name);
    const size_t colon = whole.find(':');
    return colon == std::string_view::npos ? whole : whole.substr(colon + 1);
}

const char* attribute(const char** attributes, std::string_view name)
{
    for (; attributes && attributes[0]; attributes += 2) {
        if (std::string_view(attributes[0]) == name) {
            return attributes[1];
        }
    }
    return nullptr;
}

std::string_view text(const char** attributes, std::string_view name)
{
    const char* value = attribute(attributes, name);
    return value ? std::string_view(value) : std::string_view();
}

bool flag(const char** attributes, std::string_view name)
{
    const std::string_view value = text(attributes, name);
    return value == "1" || value == "true";
}

int number(std::string_view value)
{
    return QByteArrayView(value.data(), static_cast<qsizetype>(value.size())).toInt();
}

std::optional<double> decimal(std::string_view value)
{
    bool ok = false;
    const double result =
        QByteArrayView(value.data(), static_cast<qsizetype>(value.size())).toDouble(&ok);
    return ok ? std::optional<double>(result) : std::nullopt;
}

QString unicode(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

struct XlsxSheetReader::Parser
{
    XML_Parser xml = nullptr;
    ~Parser()
    {
        if (xml) {
            XML_ParserFree(xml);
        }
    }
};

XlsxSheetReader::XlsxSheetReader(Worksheet& sheet, const XlsxStyleReader& styles,
                                 const std::vector<QString>& strings, QString part)
    : m_sheet(sheet), m_styles(styles), m_strings(strings), m_part(std::move(part)),
      m_parser(std::make_unique<Parser>())
{
    m_parser->xml = XML_ParserCreate("UTF-8");
    if (!m_parser->xml) {
        throw FormatError(QStringLiteral("Not enough memory to read the workbook"));
    }
    XML_SetUserData(m_parser->xml, this);
    XML_SetElementHandler(
        m_parser->xml,
        [](void* self, const XML_Char* name, const XML_Char** attributes) {
            static_cast<XlsxSheetReader*>(self)->startElement(localName(name), attributes);
        },
        [](void* self, const XML_Char* name) {
            static_cast<XlsxSheetReader*>(self)->endElement(localName(name));
        });
    XML_SetCharacterDataHandler(m_parser->xml, [](void* self, const XML_Char* data, int length) {
        auto* reader = static_cast<XlsxSheetReader*>(self);
        if (reader->m_collecting) {
            reader->m_text.append(data, static_cast<size_t>(length));
        }
    });
}

XlsxSheetReader::~XlsxSheetReader() = default;

void XlsxSheetReader::damaged(const QString& why) const
{
    throw FormatError(QStringLiteral("The workbook is damaged: %1: %2").arg(m_part, why));
}

void XlsxSheetReader::feed(std::string_view chunk)
{
    if (XML_Parse(m_parser->xml, chunk.data(), static_cast<int>(chunk.size()), XML_FALSE) ==
        XML_STATUS_ERROR) {
        damaged(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(m_parser->xml))));
    }
}

void XlsxSheetReader::finish()
{
    if (XML_Parse(m_parser->xml, nullptr, 0, XML_TRUE) == XML_STATUS_ERROR) {
        damaged(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(m_parser->xml))));
    }
    applyColumns();
    if (!m_sheet.merges().mergeAll(m_merges)) {
        throw FormatError(QStringLiteral("The workbook is damaged: merged areas overlap"));
    }
}

void XlsxSheetReader::startElement(std::string_view name, const char** attributes)
{
    if (m_inCell) {
        if (m_depthInInline > 0) {
            if (name == "rPh") {
                m_inPhonetic = true;
            } else if (name == "r") {
                m_depthInInline = 2;
            } else if (name == "t" && !m_inPhonetic) {
                m_collecting = true;
            }
        } else if (name == "v" || name == "f") {
            m_text.clear();
            m_collecting = true;
        } else if (name == "is") {
            m_text.clear();
            m_depthInInline = 1;
            m_hasValue = true;
        }
        return;
    }
    if (name == "c") {
        startCell(attributes);
    } else if (name == "row") {
        readRow(attributes);
    } else if (name == "col") {
        readColumn(attributes);
    } else if (name == "mergeCell") {
        const char* reference = attribute(attributes, "ref");
        if (const std::optional<CellRange> range =
                CellRange::parse(QString::fromUtf8(reference ? reference : ""))) {
            m_merges.push_back(*range);
        }
    }
}

void XlsxSheetReader::endElement(std::string_view name)
{
    if (!m_inCell) {
        return;
    }
    if (m_depthInInline > 0) {
        if (name == "rPh") {
            m_inPhonetic = false;
        } else if (name == "t") {
            m_collecting = false;
        } else if (name == "r") {
            m_depthInInline = 1;
        } else if (name == "is") {
            m_depthInInline = 0;
            m_value = m_text;
        }
        return;
    }
    if (name == "v") {
        m_collecting = false;
        m_value = m_text;
        m_hasValue = true;
    } else if (name == "f") {
        m_collecting = false;
        m_formula = m_text;
    } else if (name == "c") {
        endCell();
    }
}

void XlsxSheetReader::readColumn(const char** attributes)
{
    const int first = std::max(1, number(text(attributes, "min")));
    const int last = std::min(CellRange::kMaxColumns, number(text(attributes, "max")));
    const bool hidden = flag(attributes, "hidden");
    const std::optional<double> fileWidth = decimal(text(attributes, "width"));
    if ((!hidden && !fileWidth) || first > last) {
        return;
    }
    m_columns.push_back(
        {first, last, hidden ? 0.0 : ColumnWidthUnits::fromFileWidth(fileWidth.value_or(0))});
}

// Later column elements win over earlier ones. Walking them from the last, each column takes
// the first width that reaches it and is then skipped for good, so thousands of elements that
// each span the whole sheet cost no more than the columns themselves.
void XlsxSheetReader::applyColumns()
{
    std::vector<int> nextOpen(static_cast<size_t>(CellRange::kMaxColumns) + 2);
    std::iota(nextOpen.begin(), nextOpen.end(), 0);
    const auto open = [&](int column) {
        int root = column;
        while (nextOpen[static_cast<size_t>(root)] != root) {
            root = nextOpen[static_cast<size_t>(root)];
        }
        while (nextOpen[static_cast<size_t>(column)] != root) {
            const int next = nextOpen[static_cast<size_t>(column)];
            nextOpen[static_cast<size_t>(column)] = root;
            column = next;
        }
        return root;
    };
    for (auto span = m_columns.rbegin(); span != m_columns.rend(); ++span) {
        for (int column = open(span->first); column <= span->last; column = open(column + 1)) {
            m_sheet.setColumnWidth(column, span->width);
            nextOpen[static_cast<size_t>(column)] = column + 1;
        }
    }
    m_columns.clear();
}

void XlsxSheetReader::readRow(const char** attributes)
{
    const int numbered = number(text(attributes, "r"));
    m_row = numbered > 0 ? numbered : m_row + 1;
    m_column = 0;
    if (m_row < 1 || m_row > CellRange::kMaxRows) {
        return;
    }
    if (flag(attributes, "hidden")) {
        m_sheet.setRowHeight(m_row, 0.0);
    } else if (flag(attributes, "customHeight")) {
        if (const std::optional<double> height = decimal(text(attributes, "ht"))) {
            m_sheet.setRowHeight(m_row, *height);
        }
    }
}

void XlsxSheetReader::startCell(const char** attributes)
{
    m_inCell = true;
    const char* reference = attribute(attributes, "r");
    const std::optional<CellRange> place =
        reference ? CellRange::parse(QString::fromLatin1(reference)) : std::nullopt;
    m_cellRow = place ? place->firstRow : m_row;
    m_column = place ? place->firstColumn : m_column + 1;
    const char* type = attribute(attributes, "t");
    m_type.assign(type ? type : "");
    const char* style = attribute(attributes, "s");
    m_style = style ? number(style) : 0;
    m_value.clear();
    m_formula.clear();
    m_text.clear();
    m_hasValue = false;
    m_collecting = false;
    m_depthInInline = 0;
    m_inPhonetic = false;
}

bool XlsxSheetReader::isPlainStyle(int style)
{
    if (style < 0 || style >= kRememberedStyles) {
        return m_styles.format(style) == CellFormat();
    }
    if (m_plainStyles.size() <= static_cast<size_t>(style)) {
        m_plainStyles.resize(static_cast<size_t>(style) + 1, Unknown);
    }
    int8_t& known = m_plainStyles[static_cast<size_t>(style)];
    if (known == Unknown) {
        known = m_styles.format(style) == CellFormat() ? Plain : Formatted;
    }
    return known == Plain;
}

void XlsxSheetReader::endCell()
{
    m_inCell = false;
    m_collecting = false;
    const int row = m_cellRow;
    if (row < 1 || row > CellRange::kMaxRows || m_column < 1 || m_column > CellRange::kMaxColumns) {
        return;
    }
    const bool hasValue = m_hasValue && !(m_value.empty() && m_type.empty());
    if (!hasValue && m_formula.empty() && isPlainStyle(m_style)) {
        return; // nothing to keep: no value, no formula, no format of its own
    }
    Cell& cell = m_sheet.cell(row, m_column);
    cell.format = m_styles.format(m_style);
    if (!m_formula.empty()) {
        cell.formula = u'=' + unicode(m_formula);
    }
    if (!m_hasValue) {
        return;
    }
    if (m_type == "s") {
        bool ok = false;
        const uint index = QByteArrayView(m_value.data(), static_cast<qsizetype>(m_value.size()))
                               .trimmed()
                               .toUInt(&ok);
        if (!ok || index >= m_strings.size()) {
            throw FormatError(QStringLiteral("The workbook is damaged: a text is missing"));
        }
        cell.value = CellValue::text(m_strings[index]);
    } else if (m_type == "b") {
        cell.value = CellValue::boolean(
            QByteArrayView(m_value.data(), static_cast<qsizetype>(m_value.size())).trimmed() ==
            "1");
    } else if (m_type == "str" || m_type == "inlineStr" || m_type == "e" || m_type == "d") {
        cell.value = CellValue::text(XlsxXml::unescape(unicode(m_value)));
    } else if (m_value.empty()) {
        return; // a formula saved without its result
    } else if (const std::optional<double> value = FormulaValue::parseNumber(unicode(m_value))) {
        cell.value = CellValue::number(*value);
    } else {
        cell.value = CellValue::text(unicode(m_value));
    }
}

} // namespace platform::automation::workbook
