#include "platform/ui/DefinitionLoader.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/ControlFactory.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/KeyCodes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include "platform/text/AsciiChars.h"

namespace platform::ui {
namespace {

std::filesystem::path& configuredFolder()
{
    static std::filesystem::path folder;
    return folder;
}

std::string lower(std::string_view s)
{
    std::string result(s);
    for (char& c : result)
        c = static_cast<char>(platform::text::asciiLower(c));
    return result;
}

// Reads one definition file; every complaint names the file and the window or control.
class Reader
{
public:
    explicit Reader(std::string file) : m_file(std::move(file)) {}

    std::vector<WindowDefinition> read(const QByteArray& bytes)
    {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
        if (parseError.error != QJsonParseError::NoError) {
            const int line = 1 + static_cast<int>(std::count(
                                     bytes.begin(), bytes.begin() + parseError.offset, '\n'));
            fail("line " + std::to_string(line) + ": " + parseError.errorString().toStdString());
        }
        if (!document.isObject())
            fail("the file must hold one JSON object");
        const QJsonObject root = document.object();
        checkKeys(root, {"module", "windows"}, "the file");
        const QJsonValue windows = root.value(QStringLiteral("windows"));
        if (!windows.isArray() || windows.toArray().isEmpty())
            fail("\"windows\" must be a non-empty array");
        m_module = root.value(QStringLiteral("module")).toString().toStdString();
        std::vector<WindowDefinition> result;
        std::set<std::string> labels;
        for (const QJsonValue& value : windows.toArray()) {
            if (!value.isObject())
                fail("every entry of \"windows\" must be an object");
            WindowDefinition window = readWindow(value.toObject());
            if (!labels.insert(lower(window.label)).second)
                fail("window \"" + shown(window.label) + "\" is defined twice");
            result.push_back(std::move(window));
        }
        return result;
    }

private:
    [[noreturn]] void fail(const std::string& message) const
    {
        throw DefinitionError(m_file + ": " + message);
    }

    // Messages are UTF-8; texts read from the file are Windows-1251 inside the program.
    static std::string shown(const std::string& cp1251) { return text::cp1251ToUtf8(cp1251); }

    std::string where() const
    {
        std::string place = "window \"" + shown(m_window) + "\"";
        if (!m_control.empty())
            place += ", control " + shown(m_control);
        return place;
    }

    [[noreturn]] void failHere(const std::string& message) const { fail(where() + ": " + message); }

    void checkKeys(const QJsonObject& object, std::initializer_list<const char*> allowed,
                   const std::string& place) const
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            const std::string key = it.key().toStdString();
            if (std::none_of(allowed.begin(), allowed.end(),
                             [&](const char* a) { return key == a; }))
                fail(place + ": unknown key \"" + key + "\"");
        }
    }

    std::string text(const QJsonObject& object, const char* key, bool required = false) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined()) {
            if (required)
                failHere(std::string("\"") + key + "\" is missing");
            return {};
        }
        if (!value.isString())
            failHere(std::string("\"") + key + "\" must be a text");
        return text::fromQString(value.toString());
    }

    bool flag(const QJsonObject& object, const char* key) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            return false;
        if (!value.isBool())
            failHere(std::string("\"") + key + "\" must be true or false");
        return value.toBool();
    }

    // Numbers may be written in decimal or, for colours, as "0x..." texts.
    int number(const QJsonObject& object, const char* key, int fallback) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined() || value.isNull())
            return fallback;
        if (value.isDouble() && value.toDouble() == static_cast<int>(value.toDouble()))
            return static_cast<int>(value.toDouble());
        if (value.isString()) {
            bool ok = false;
            const int n = static_cast<int>(value.toString().toLongLong(&ok, 0));
            if (ok)
                return n;
        }
        failHere(std::string("\"") + key + "\" must be a whole number");
    }

    Placement placement(const QJsonObject& object) const
    {
        Placement at;
        const QJsonValue value = object.value(QStringLiteral("at"));
        if (value.isUndefined())
            return at;
        const QJsonArray parts = value.toArray();
        if (!value.isArray() || parts.size() != 4)
            failHere("\"at\" must be [x, y, width, height] (null for a default)");
        std::optional<int>* slots[] = {&at.x, &at.y, &at.width, &at.height};
        for (int i = 0; i < 4; ++i) {
            const QJsonValue part = parts.at(i);
            if (part.isNull())
                continue;
            if (!part.isDouble() || part.toDouble() != static_cast<int>(part.toDouble()) ||
                (i >= 2 && part.toDouble() < 0))
                failHere("\"at\" must hold whole numbers (sizes not negative) or null");
            *slots[i] = static_cast<int>(part.toDouble());
        }
        return at;
    }

    FontDefinition font(const QJsonObject& object) const
    {
        FontDefinition font;
        const QJsonValue value = object.value(QStringLiteral("font"));
        if (value.isUndefined())
            return font;
        if (!value.isObject())
            failHere("\"font\" must be an object");
        const QJsonObject f = value.toObject();
        checkKeys(f, {"name", "size", "weight", "colour", "charset", "italic"}, where() + ", font");
        font.name = text(f, "name");
        font.size = number(f, "size", 0);
        font.weight = number(f, "weight", 0);
        font.colour = number(f, "colour", -1);
        font.charSet = number(f, "charset", -1);
        font.italic = flag(f, "italic");
        if (font.size < 0 || font.size > 200 || font.weight < 0 || font.weight > 1000)
            failHere("font size or weight out of range");
        return font;
    }

    std::vector<int> alertKeys(const QJsonObject& object) const
    {
        std::vector<int> keys;
        const QJsonValue value = object.value(QStringLiteral("alert"));
        if (value.isUndefined())
            return keys;
        if (!value.isArray())
            failHere("\"alert\" must be an array of key names");
        for (const QJsonValue& key : value.toArray()) {
            const std::string name = key.toString().toStdString();
            const int code = key.isString() ? keyCodeFromName(name) : -1;
            if (code <= 0)
                failHere("\"" + name + "\" is not a key");
            keys.push_back(code);
        }
        return keys;
    }

    WindowDefinition readWindow(const QJsonObject& object)
    {
        WindowDefinition window;
        m_control.clear();
        m_window = "?";
        window.label = text(object, "label", true);
        m_window = window.label;
        checkKeys(object,
                  {"label", "kind", "title", "at", "font", "timer", "icon", "alert", "controls",
                   "menus", "toolbar"},
                  where());
        window.file = m_file;
        window.module = m_module;
        window.kind = text(object, "kind", true);
        if (window.kind != "frame" && window.kind != "window" && window.kind != "dialog")
            failHere("kind must be \"frame\", \"window\" or \"dialog\"");
        window.title = text(object, "title");
        window.at = placement(object);
        window.font = font(object);
        window.timer = number(object, "timer", 0);
        if (window.timer < 0)
            failHere("\"timer\" must not be negative");
        window.icon = text(object, "icon");
        window.alertKeys = alertKeys(object);
        m_labels.clear();
        if (window.kind == "frame" && object.contains(QStringLiteral("controls")))
            failHere("a frame has menus and a toolbar, no controls");
        readControls(window, object.value(QStringLiteral("controls")), 0, "");
        readMenus(window, object);
        return window;
    }

    void readControls(WindowDefinition& window, const QJsonValue& list, int parent,
                      const std::string& parentKind)
    {
        if (list.isUndefined())
            return;
        if (!list.isArray())
            failHere("\"controls\" must be an array");
        for (const QJsonValue& value : list.toArray()) {
            const int order = static_cast<int>(window.controls.size()) + 1;
            m_control = std::to_string(order);
            if (!value.isObject())
                failHere("must be an object");
            const QJsonObject object = value.toObject();
            ControlDefinition control = readControl(object, order);
            control.parent = parent;
            checkNesting(control.kind, parentKind);
            const std::string kind = control.kind;
            window.controls.push_back(std::move(control));
            readControls(window, object.value(QStringLiteral("controls")), order, kind);
        }
        m_control.clear();
    }

    void checkNesting(const std::string& kind, const std::string& parentKind) const
    {
        if ((kind == "tab") != (parentKind == "sheet"))
            failHere("tabs belong directly in a sheet, and a sheet holds only tabs");
        if (kind == "radio" && parentKind != "option")
            failHere("a radio belongs in an option group");
        if (!parentKind.empty() && parentKind != "sheet" && parentKind != "tab" &&
            parentKind != "option" && parentKind != "group")
            failHere("a " + parentKind + " cannot hold controls");
    }

    ControlDefinition readControl(const QJsonObject& object, int order)
    {
        checkKeys(object, {"number",     "label",  "kind",     "text",    "at",    "font",
                           "background", "hidden", "disabled", "alert",   "use",   "picture",
                           "tooltip",    "cursor", "icon",     "action",  "value", "true",
                           "false",      "drag",   "drop",     "controls", "format",
                           "password",   "fileName"},
                  where());
        ControlDefinition control;
        control.number = order;
        if (object.contains(QStringLiteral("number")) && number(object, "number", 0) != order)
            failHere("\"number\" says " + std::to_string(number(object, "number", 0)) +
                     " but the control is number " + std::to_string(order) + " in order");
        control.label = text(object, "label", true);
        m_control = std::to_string(order) + " (" + control.label + ")";
        if (control.label.empty() || control.label[0] != '?')
            failHere("a label starts with \"?\"");
        if (!m_labels.insert(lower(control.label)).second)
            failHere("the label is used twice");
        control.kind = text(object, "kind", true);
        if (!ControlFactory::isKnown(control.kind))
            failHere("unknown kind \"" + shown(control.kind) + "\"");
        fillCommon(control, object);
        control.background = number(object, "background", -1);
        control.alertKeys = alertKeys(object);
        control.use = text(object, "use");
        control.picture = text(object, "picture");
        control.value = text(object, "value");
        if (object.contains(QStringLiteral("true")))
            control.trueValue = text(object, "true");
        if (object.contains(QStringLiteral("false")))
            control.falseValue = text(object, "false");
        control.dragId = text(object, "drag");
        control.dropId = text(object, "drop");
        control.format = text(object, "format");
        control.password = flag(object, "password");
        if (control.password && control.kind != "entry")
            failHere("only an entry can be a password field");
        control.fileName = flag(object, "fileName");
        if (control.fileName && control.kind != "entry")
            failHere("only an entry can be a file name field");
        if (!control.picture.empty() && !validPicture(control.picture))
            failHere("picture \"" + shown(control.picture) + "\" is not understood");
        if ((control.kind == "display" || control.kind == "entry") && control.use.empty() &&
            control.picture.empty())
            failHere("an entry or display field needs a picture");
        return control;
    }

    void fillCommon(ControlDefinition& control, const QJsonObject& object) const
    {
        control.text = text(object, "text");
        control.at = placement(object);
        control.font = font(object);
        control.hidden = flag(object, "hidden");
        control.disabled = flag(object, "disabled");
        control.tooltip = text(object, "tooltip");
        control.cursor = text(object, "cursor");
        if (!control.cursor.empty() && control.cursor != "hand" && control.cursor != "wait")
            failHere("cursor must be \"hand\" or \"wait\"");
        control.icon = text(object, "icon");
        control.action = text(object, "action");
        if (!control.action.empty() && control.action != "close")
            failHere("unknown standard action \"" + shown(control.action) + "\"");
    }

    static bool validPicture(std::string_view picture)
    {
        if (picture.empty())
            return false;
        const char kind = static_cast<char>(platform::text::asciiLower(picture[0]));
        picture.remove_prefix(1);
        if (!picture.empty() && picture[0] == '_')
            picture.remove_prefix(1);
        if (kind == 'd' || kind == 't')
            return true;
        if (kind != 'n' && kind != 's')
            return false;
        if (kind == 'n' && !picture.empty() && (picture.back() == 'b' || picture.back() == 'B'))
            picture.remove_suffix(1);
        std::size_t digits = 0;
        while (digits < picture.size() && platform::text::isAsciiDigit(picture[digits]))
            ++digits;
        if (digits == 0)
            return false;
        if (digits == picture.size())
            return true;
        if (kind != 'n' || picture[digits] != '.')
            return false;
        const std::string_view decimals = picture.substr(digits + 1);
        return !decimals.empty() && std::all_of(decimals.begin(), decimals.end(), [](char c) {
            return platform::text::isAsciiDigit(c);
        });
    }

    void readMenus(WindowDefinition& window, const QJsonObject& object)
    {
        const QJsonValue menus = object.value(QStringLiteral("menus"));
        const QJsonValue toolbar = object.value(QStringLiteral("toolbar"));
        if ((!menus.isUndefined() || !toolbar.isUndefined()) && window.kind != "frame")
            failHere("only a frame has menus and a toolbar");
        if (!menus.isUndefined() && !menus.isArray())
            failHere("\"menus\" must be an array");
        if (!toolbar.isUndefined() && !toolbar.isArray())
            failHere("\"toolbar\" must be an array");
        for (const QJsonValue& menu : menus.toArray()) {
            const QJsonObject m = menu.toObject();
            const int menuNumber = addMenuItem(window, m, "menu", 0);
            const QJsonValue items = m.value(QStringLiteral("items"));
            if (!items.isArray())
                failHere("a menu needs \"items\"");
            for (const QJsonValue& item : items.toArray())
                addMenuItem(window, item.toObject(), "item", menuNumber);
        }
        for (const QJsonValue& button : toolbar.toArray())
            addMenuItem(window, button.toObject(), "toolbutton", 0);
        m_control.clear();
    }

    int addMenuItem(WindowDefinition& window, const QJsonObject& object, const char* kind,
                    int parent)
    {
        ControlDefinition item;
        item.number = -static_cast<int>(window.menuItems.size()) - 1;
        m_control = std::to_string(item.number);
        checkKeys(
            object,
            {"label", "text", "tooltip", "icon", "action", "hidden", "disabled", "cursor", "items"},
            where());
        item.label = text(object, "label", true);
        m_control = std::to_string(item.number) + " (" + item.label + ")";
        if (item.label.empty() || item.label[0] != '?')
            failHere("a label starts with \"?\"");
        if (!m_labels.insert(lower(item.label)).second)
            failHere("the label is used twice");
        if (object.contains(QStringLiteral("items")) && std::string_view(kind) != "menu")
            failHere("only a menu has items");
        item.kind = kind;
        item.parent = parent;
        fillCommon(item, object);
        window.menuItems.push_back(std::move(item));
        return window.menuItems.back().number;
    }

    std::string m_file;
    std::string m_module;
    std::string m_window;
    std::string m_control;
    std::set<std::string> m_labels;
};

std::string moduleFileName(std::string_view module)
{
    const std::size_t dollar = module.rfind('$');
    if (dollar != std::string_view::npos)
        module.remove_prefix(dollar + 1);
    return std::string(module) + ".json";
}

} // namespace

std::filesystem::path resourceFolder()
{
    if (!configuredFolder().empty())
        return configuredFolder();
    if (const char* env = std::getenv("QUELB_RESOURCES"); env && *env)
        return env;
    if (QCoreApplication::instance()) {
        const std::filesystem::path beside =
            std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) /
            "resources";
        if (std::filesystem::is_directory(beside))
            return beside;
    }
    return "resources";
}

void setResourceFolder(const std::filesystem::path& folder)
{
    configuredFolder() = folder;
}

std::filesystem::path resolveNoCase(const std::filesystem::path& folder, std::string_view name)
{
    // Through Qt's file layer, so that the program's compiled-in resources (":/...") resolve
    // as a folder on disk does.
    const std::filesystem::path exact = folder / name;
    if (QFileInfo::exists(QFile::decodeName(exact.c_str())))
        return exact;
    const std::string wanted = lower(name);
    const QDir listing(QFile::decodeName(folder.c_str()));
    for (const QString& entry :
         listing.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (lower(QFile::encodeName(entry).toStdString()) == wanted)
            return folder / QFile::encodeName(entry).toStdString();
    return exact;
}

std::vector<WindowDefinition> loadDefinitionFile(const std::filesystem::path& file)
{
    QFile input(QFile::decodeName(file.c_str()));
    if (!input.open(QIODevice::ReadOnly))
        throw DefinitionError(file.string() + ": cannot be read");
    return Reader(file.string()).read(input.readAll());
}

WindowDefinition loadWindowDefinition(std::string_view module, std::string_view label)
{
    const std::filesystem::path file =
        resolveNoCase(resourceFolder() / "windows", moduleFileName(module));
    for (WindowDefinition& window : loadDefinitionFile(file))
        if (lower(window.label) == lower(label))
            return std::move(window);
    throw DefinitionError(file.string() + ": no window \"" + std::string(label) + "\"");
}

} // namespace platform::ui
