#include "platform/ui/report/ReportDefinitionReader.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/DefinitionError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace platform::ui {
namespace {

class Reader
{
public:
    explicit Reader(std::string origin) : m_origin(std::move(origin)) {}

    [[noreturn]] void fail(const std::string& place, const std::string& problem) const
    {
        throw DefinitionError(m_origin + ": " + place + ": " + problem);
    }

    int integer(const QJsonObject& object, const char* key, int fallback,
                const std::string& place) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull())
            return fallback;
        const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!value.isDouble() || number != std::floor(number) || std::fabs(number) > 1e9)
            fail(place, std::string("\"") + key + "\" must be a whole number");
        return static_cast<int>(number);
    }

    std::string text(const QJsonObject& object, const char* key, const std::string& place) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull())
            return {};
        if (!value.isString())
            fail(place, std::string("\"") + key + "\" must be a text");
        return text::fromQString(value.toString());
    }

    // Spelled as in the window definitions: name, size, weight (700 and above is bold), italic.
    ReportFont font(const QJsonObject& object, ReportFont base, const std::string& place) const
    {
        checkKeys(object, {"name", "size", "weight", "italic"}, place + ", font");
        const std::string name = text(object, "name", place);
        if (!name.empty())
            base.typeface = name;
        const QJsonValue size = object.value(QLatin1String("size"));
        if (!size.isUndefined()) {
            if (!size.isDouble() || size.toDouble() <= 0)
                fail(place, "the font size must be a positive number");
            base.size = size.toDouble();
        }
        if (object.contains(QLatin1String("weight")))
            base.bold = integer(object, "weight", 400, place) >= 700;
        if (object.contains(QLatin1String("italic")))
            base.italic = object.value(QLatin1String("italic")).toBool();
        return base;
    }

    // A misspelt key would otherwise be ignored without a word.
    void checkKeys(const QJsonObject& object, std::initializer_list<const char*> allowed,
                   const std::string& place) const
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            const std::string key = it.key().toStdString();
            if (std::none_of(allowed.begin(), allowed.end(),
                             [&](const char* a) { return key == a; }))
                fail(place, "unknown key \"" + key + "\"");
        }
    }

    // "at": [x, y, width, height], as in the window definitions (here in report units).
    void placement(const QJsonObject& object, ReportItem& item, const std::string& place) const
    {
        const QJsonValue value = object.value(QLatin1String("at"));
        if (value.isUndefined())
            return;
        const QJsonArray parts = value.toArray();
        if (!value.isArray() || parts.size() != 4)
            fail(place, "\"at\" must be [x, y, width, height]");
        int* slots[] = {&item.x, &item.y, &item.width, &item.height};
        for (qsizetype i = 0; i < 4; ++i) {
            const double number = parts.at(i).toDouble(0.5);
            if (!parts.at(i).isDouble() || number != std::floor(number) || std::fabs(number) > 1e9)
                fail(place, "\"at\" must hold whole numbers");
            *slots[i] = static_cast<int>(number);
        }
    }

    ReportItem item(const QJsonObject& object, const std::string& place) const
    {
        ReportItem result;
        checkKeys(object,
                  {"kind", "at", "text", "use", "picture", "total", "align", "font", "lineWidth",
                   "wrap"},
                  place);
        const std::string kind = text(object, "kind", place);
        if (kind == "label")
            result.kind = ReportItemKind::Label;
        else if (kind == "field")
            result.kind = ReportItemKind::Field;
        else if (kind == "box")
            result.kind = ReportItemKind::Box;
        else if (kind == "line")
            result.kind = ReportItemKind::Line;
        else
            fail(place, "unknown item kind \"" + kind + "\"");
        placement(object, result, place);
        result.text = text(object, "text", place);
        result.use = text(object, "use", place);
        result.picture = text(object, "picture", place);
        result.lineWidth = integer(object, "lineWidth", result.lineWidth, place);
        result.total = total(text(object, "total", place), place);
        result.alignment = alignment(text(object, "align", place), place);
        const QJsonValue wrap = object.value(QLatin1String("wrap"));
        if (!wrap.isUndefined() && !wrap.isBool())
            fail(place, "\"wrap\" must be true or false");
        result.wrap = wrap.toBool();
        const QJsonValue fontValue = object.value(QLatin1String("font"));
        if (fontValue.isObject())
            result.font = font(fontValue.toObject(), ReportFont{{}, 0, false, false}, place);
        else if (!fontValue.isUndefined())
            fail(place, "\"font\" must be an object");
        return result;
    }

    ReportTotalKind total(const std::string& name, const std::string& place) const
    {
        static const std::pair<const char*, ReportTotalKind> kinds[] = {
            {"", ReportTotalKind::None},           {"none", ReportTotalKind::None},
            {"sum", ReportTotalKind::Sum},         {"average", ReportTotalKind::Average},
            {"maximum", ReportTotalKind::Maximum}, {"minimum", ReportTotalKind::Minimum},
            {"count", ReportTotalKind::Count},     {"pageNumber", ReportTotalKind::PageNumber}};
        for (const auto& [spelling, kind] : kinds)
            if (name == spelling)
                return kind;
        fail(place, "unknown total \"" + name + "\"");
    }

    ReportAlignment alignment(const std::string& name, const std::string& place) const
    {
        if (name.empty() || name == "left")
            return ReportAlignment::Left;
        if (name == "right")
            return ReportAlignment::Right;
        if (name == "center")
            return ReportAlignment::Center;
        fail(place, "unknown alignment \"" + name + "\"");
    }

    ReportBand band(const QJsonObject& object, const std::string& place) const
    {
        ReportBand result;
        checkKeys(object, {"kind", "height", "items"}, place);
        const std::string kind = text(object, "kind", place);
        if (kind == "groupHeader")
            result.kind = ReportBandKind::GroupHeader;
        else if (kind == "detail")
            result.kind = ReportBandKind::Detail;
        else if (kind == "groupFooter")
            result.kind = ReportBandKind::GroupFooter;
        else if (kind == "pageFooter")
            result.kind = ReportBandKind::PageFooter;
        else
            fail(place, "unknown band kind \"" + kind + "\"");
        result.height = integer(object, "height", 0, place);
        const QJsonArray items = object.value(QLatin1String("items")).toArray();
        for (qsizetype i = 0; i < items.size(); ++i) {
            const std::string itemPlace = place + ", item " + std::to_string(i + 1);
            if (!items.at(i).isObject())
                fail(itemPlace, "an item must be an object");
            result.items.push_back(item(items.at(i).toObject(), itemPlace));
        }
        return result;
    }

    ReportDefinition report(const QJsonObject& object, std::string_view label) const
    {
        ReportDefinition result;
        result.label = std::string(label);
        const std::string place = "report " + result.label;
        checkKeys(object, {"label", "kind", "font", "margins", "bands"}, place);
        const QJsonValue fontValue = object.value(QLatin1String("font"));
        if (fontValue.isObject())
            result.font = font(fontValue.toObject(), result.font, place + ", font");
        const QJsonObject margins = object.value(QLatin1String("margins")).toObject();
        checkKeys(margins, {"left", "top", "right", "bottom"}, place + ", margins");
        result.margins.left = integer(margins, "left", result.margins.left, place);
        result.margins.top = integer(margins, "top", result.margins.top, place);
        result.margins.right = integer(margins, "right", result.margins.right, place);
        result.margins.bottom = integer(margins, "bottom", result.margins.bottom, place);
        const QJsonValue bands = object.value(QLatin1String("bands"));
        if (!bands.isArray())
            fail(place, "\"bands\" must be a list");
        const QJsonArray list = bands.toArray();
        for (qsizetype i = 0; i < list.size(); ++i) {
            const std::string bandPlace = place + ", band " + std::to_string(i + 1);
            if (!list.at(i).isObject())
                fail(bandPlace, "a band must be an object");
            result.bands.push_back(band(list.at(i).toObject(), bandPlace));
        }
        const std::string problem = result.problem();
        if (!problem.empty())
            fail(place, problem);
        return result;
    }

private:
    std::string m_origin;
};

// A module file lists its reports in "reports", next to its "windows"; labels compare without
// regard to case, as the window labels do. A file may also hold one report object alone.
std::optional<QJsonObject> findStructure(const QJsonObject& root, const QString& label)
{
    if (root.contains(QLatin1String("bands")))
        return root;
    for (const QJsonValue& element : root.value(QLatin1String("reports")).toArray()) {
        const QJsonObject report = element.toObject();
        if (report.value(QLatin1String("label")).toString().compare(label, Qt::CaseInsensitive) ==
            0)
            return report;
    }
    return std::nullopt;
}

} // namespace

ReportDefinition ReportDefinitionReader::readFile(const QString& fileName, std::string_view label)
{
    QFile file(fileName);
    const std::string origin = text::fromQString(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw DefinitionError(origin + ": cannot be read");
    return readJson(file.readAll(), label, origin);
}

ReportDefinition ReportDefinitionReader::readJson(const QByteArray& json, std::string_view label,
                                                  const std::string& origin)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw DefinitionError(origin + ": JSON error at offset " + std::to_string(error.offset) +
                              ": " + error.errorString().toStdString());
    if (!document.isObject())
        throw DefinitionError(origin + ": the file must hold a JSON object");
    const QString qtLabel = text::toQString(label);
    const std::optional<QJsonObject> structure = findStructure(document.object(), qtLabel);
    if (!structure)
        throw DefinitionError(origin + ": no report structure " + std::string(label));
    return Reader(origin).report(*structure, label);
}

} // namespace platform::ui
