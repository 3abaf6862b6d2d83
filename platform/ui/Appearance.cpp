#include "platform/ui/Appearance.h"

#include <QFontDatabase>

#include <array>

namespace platform::ui {
namespace {

struct Substitute
{
    const char* name;
    std::array<const char*, 3> families;
};

const std::array kSubstitutes{
    Substitute{"MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    Substitute{"Microsoft Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    Substitute{"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
    Substitute{"Arial Narrow", {"Liberation Sans Narrow", "Nimbus Sans Narrow", "DejaVu Sans"}},
    Substitute{"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
    Substitute{"Courier New", {"Liberation Mono", "Cousine", "DejaVu Sans Mono"}},
};

bool installed(const QString& family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

} // namespace

QString fontFamilyFor(std::string_view name)
{
    const QString requested = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (const Substitute& substitute : kSubstitutes) {
        if (requested.compare(QLatin1String(substitute.name), Qt::CaseInsensitive) != 0)
            continue;
        for (const char* family : substitute.families)
            if (installed(QLatin1String(family)))
                return QLatin1String(family);
        break;
    }
    return requested;
}

QFont fontOf(const FontDefinition& definition, const QFont& inherited)
{
    QFont font = inherited;
    if (!definition.name.empty())
        font.setFamily(fontFamilyFor(definition.name));
    if (definition.size > 0)
        font.setPointSize(definition.size);
    if (definition.weight > 0)
        font.setWeight(QFont::Weight(std::clamp(definition.weight, 1, 1000)));
    if (definition.italic)
        font.setItalic(true);
    return font;
}

QColor colourOf(int value)
{
    if (value < 0)
        return {};
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int colourValueOf(const QColor& colour)
{
    if (!colour.isValid())
        return -1;
    return colour.red() | (colour.green() << 8) | (colour.blue() << 16);
}

} // namespace platform::ui
