#include "platform/ui/WindowPlacement.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/SettingsFile.h"

#include <QWidget>

#include <charconv>
#include <string>

namespace platform::ui {
namespace {

std::optional<int> number(const SettingsFile& settings, std::string_view section,
                          std::string_view entry)
{
    const std::string text = settings.fetch(section, entry);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<ScreenPlacement> fetchPlacement(const SettingsFile& settings,
                                              std::string_view section, const DialogUnits& du)
{
    if (!settings.isBound())
        return std::nullopt;
    const auto x = number(settings, section, "x");
    const auto y = number(settings, section, "y");
    const auto width = number(settings, section, "width");
    const auto height = number(settings, section, "height");
    if (!x || !y || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    ScreenPlacement placement;
    placement.normal = QRect(du.toPixelsX(*x), du.toPixelsY(*y), du.toPixelsX(*width),
                             du.toPixelsY(*height));
    placement.maximized = number(settings, section, "maximized").value_or(0) != 0;
    return placement;
}

void storePlacement(SettingsFile& settings, std::string_view section, const QWidget& window,
                    const DialogUnits& du)
{
    if (!settings.isBound())
        return;
    const QRect normal = window.normalGeometry();
    settings.update(section, "x", std::to_string(du.fromPixelsX(normal.x())));
    settings.update(section, "y", std::to_string(du.fromPixelsY(normal.y())));
    settings.update(section, "width", std::to_string(du.fromPixelsX(normal.width())));
    settings.update(section, "height", std::to_string(du.fromPixelsY(normal.height())));
    settings.update(section, "maximized", window.isMaximized() ? "1" : "0");
}

} // namespace platform::ui
