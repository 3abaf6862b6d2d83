#include "platform/ui/KeyCodes.h"

#include "platform/ui/Event.h"

#include <QKeyEvent>

#include <array>
#include <cctype>
#include <charconv>
#include <cstring>
#include "platform/text/AsciiChars.h"

namespace platform::ui {
namespace {

struct NamedKey
{
    const char* name;
    int code;
    Qt::Key key;
};

constexpr std::array kNamedKeys{
    NamedKey{"Backspace", 0x08, Qt::Key_Backspace},
    NamedKey{"Tab", 0x09, Qt::Key_Tab},
    NamedKey{"Enter", 0x0D, Qt::Key_Return},
    NamedKey{"Esc", 0x1B, Qt::Key_Escape},
    NamedKey{"Space", 0x20, Qt::Key_Space},
    NamedKey{"PgUp", 0x21, Qt::Key_PageUp},
    NamedKey{"PgDn", 0x22, Qt::Key_PageDown},
    NamedKey{"End", 0x23, Qt::Key_End},
    NamedKey{"Home", 0x24, Qt::Key_Home},
    NamedKey{"Left", 0x25, Qt::Key_Left},
    NamedKey{"Up", 0x26, Qt::Key_Up},
    NamedKey{"Right", 0x27, Qt::Key_Right},
    NamedKey{"Down", 0x28, Qt::Key_Down},
    NamedKey{"Insert", 0x2D, Qt::Key_Insert},
    NamedKey{"Delete", 0x2E, Qt::Key_Delete},
};

// The Latin key under each Cyrillic letter of the usual Russian layout.
constexpr std::array<std::pair<char16_t, char>, 33> kCyrillicPlaces{{
    {u'Й', 'Q'}, {u'Ц', 'W'}, {u'У', 'E'}, {u'К', 'R'}, {u'Е', 'T'}, {u'Н', 'Y'}, {u'Г', 'U'},
    {u'Ш', 'I'}, {u'Щ', 'O'}, {u'З', 'P'}, {u'Х', 0},   {u'Ъ', 0},   {u'Ф', 'A'}, {u'Ы', 'S'},
    {u'В', 'D'}, {u'А', 'F'}, {u'П', 'G'}, {u'Р', 'H'}, {u'О', 'J'}, {u'Л', 'K'}, {u'Д', 'L'},
    {u'Ж', 0},   {u'Э', 0},   {u'Я', 'Z'}, {u'Ч', 'X'}, {u'С', 'C'}, {u'М', 'V'}, {u'И', 'B'},
    {u'Т', 'N'}, {u'Ь', 'M'}, {u'Б', 0},   {u'Ю', 0},   {u'Ё', 0},
}};

int virtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return Key::F1 + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_Enter)
        return Key::Enter;
    if (qtKey == Qt::Key_Backtab)
        return Key::Tab;
    for (const NamedKey& named : kNamedKeys)
        if (named.key == qtKey)
            return named.code;
    const QChar letter = QChar(static_cast<char16_t>(qtKey)).toUpper();
    for (const auto& [cyrillic, latin] : kCyrillicPlaces)
        if (letter.unicode() == cyrillic && latin)
            return latin;
    return 0;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (platform::text::asciiLower(a[i]) !=
            platform::text::asciiLower(b[i]))
            return false;
    return true;
}

int baseKeyFromName(std::string_view name)
{
    if (name.size() == 1 && platform::text::isAsciiAlnum(name[0]))
        return platform::text::asciiUpper(name[0]);
    for (const NamedKey& named : kNamedKeys)
        if (equalsNoCase(name, named.name))
            return named.code;
    if (equalsNoCase(name, "Escape"))
        return Key::Esc;
    if (equalsNoCase(name, "Del"))
        return Key::Delete;
    if (equalsNoCase(name, "Ins"))
        return Key::Insert;
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int n = 0;
        const auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), n);
        if (ec == std::errc() && end == name.data() + name.size() && n >= 1 && n <= 24)
            return Key::F1 + n - 1;
    }
    return -1;
}

} // namespace

QString QtKey::text() const
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c(static_cast<char16_t>(u'a' + (key - Qt::Key_A)));
        return (modifiers & Qt::ShiftModifier) ? QString(c).toUpper() : QString(c);
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9 &&
        !(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return QString(QChar(static_cast<char16_t>(u'0' + (key - Qt::Key_0))));
    if (key == Qt::Key_Space)
        return QStringLiteral(" ");
    return {};
}

int keyCodeOf(const QKeyEvent& event)
{
    int base = virtualKeyOf(event.key());
    if (!base && event.nativeVirtualKey() >= 'A' && event.nativeVirtualKey() <= 'Z')
        base = static_cast<int>(event.nativeVirtualKey());
    if (!base)
        return 0;
    const Qt::KeyboardModifiers mods = event.modifiers();
    int code = base;
    if (mods & Qt::ShiftModifier)
        code += Key::Shift;
    if (mods & Qt::ControlModifier)
        code += Key::Ctrl;
    if (mods & Qt::AltModifier)
        code += Key::Alt;
    return code;
}

int keyCodeFromName(std::string_view name)
{
    if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
        int code = 0;
        const auto [end, ec] =
            std::from_chars(name.data() + 2, name.data() + name.size(), code, 16);
        return ec == std::errc() && end == name.data() + name.size() ? code : -1;
    }
    int modifiers = 0;
    while (true) {
        const std::size_t plus = name.find('+');
        if (plus == std::string_view::npos || plus + 1 == name.size())
            break;
        const std::string_view part = name.substr(0, plus);
        if (equalsNoCase(part, "Shift"))
            modifiers |= Key::Shift;
        else if (equalsNoCase(part, "Ctrl"))
            modifiers |= Key::Ctrl;
        else if (equalsNoCase(part, "Alt"))
            modifiers |= Key::Alt;
        else
            return -1;
        name.remove_prefix(plus + 1);
    }
    const int base = baseKeyFromName(name);
    return base < 0 ? -1 : base | modifiers;
}

std::string keyName(int code)
{
    std::string name;
    if (code & Key::Ctrl)
        name += "Ctrl+";
    if (code & Key::Alt)
        name += "Alt+";
    if (code & Key::Shift)
        name += "Shift+";
    const int base = code & 0xFF;
    for (const NamedKey& named : kNamedKeys)
        if (named.code == base)
            return name + named.name;
    if ((base >= 'A' && base <= 'Z') || (base >= '0' && base <= '9'))
        return name + static_cast<char>(base);
    if (base >= Key::F1 && base < Key::F1 + 24)
        return name + "F" + std::to_string(base - Key::F1 + 1);
    char hex[16];
    const auto [end, ec] = std::to_chars(hex, hex + sizeof hex, code, 16);
    (void)ec;
    return "0x" + std::string(hex, end);
}

QtKey qtKeyOf(int code)
{
    QtKey result;
    const int base = code & 0xFF;
    if (base >= 'A' && base <= 'Z')
        result.key = static_cast<Qt::Key>(Qt::Key_A + (base - 'A'));
    else if (base >= '0' && base <= '9')
        result.key = static_cast<Qt::Key>(Qt::Key_0 + (base - '0'));
    else if (base >= Key::F1 && base < Key::F1 + 24)
        result.key = static_cast<Qt::Key>(Qt::Key_F1 + (base - Key::F1));
    else
        for (const NamedKey& named : kNamedKeys)
            if (named.code == base)
                result.key = named.key;
    if (code & Key::Shift)
        result.modifiers |= Qt::ShiftModifier;
    if (code & Key::Ctrl)
        result.modifiers |= Qt::ControlModifier;
    if (code & Key::Alt)
        result.modifiers |= Qt::AltModifier;
    return result;
}

} // namespace platform::ui
