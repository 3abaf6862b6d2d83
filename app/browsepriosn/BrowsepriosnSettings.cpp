#include "app/browsepriosn/BrowsepriosnSettings.h"

#include "platform/text/Cp1251.h"
#include "platform/text/Picture.h"
#include "platform/ui/SettingsFile.h"

#include <QDir>

#include <cstdlib>

namespace app {

using platform::ui::SettingsFile;

namespace {

constexpr const char* SizeSection = "sizeprice";
constexpr const char* DateSection = "dataprice";
constexpr const char* Missing = "***";

std::string read(const char* section, const char* entry, std::string_view defaultValue = {})
{
    return SettingsFile::read(priceWindowSettingsPath(), section, entry, defaultValue);
}

void write(const char* section, const char* entry, const std::string& value)
{
    SettingsFile::write(priceWindowSettingsPath(), section, entry, value);
}

// A whole decimal number at the start of the text (as the runtime reads a number text).
int wholeValue(const std::string& text)
{
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

} // namespace

std::string priceWindowSettingsPath()
{
    std::string folder = platform::text::fromQString(QDir::currentPath());
    while (!folder.empty() && folder.back() == ' ')
        folder.pop_back();
    return folder + "\\quelbarto.ini";
}

void savePriceWindowSizes(const PriceWindowSizes& sizes)
{
    write(SizeSection, "w1", std::to_string(sizes.geometry.x));
    write(SizeSection, "w2", std::to_string(sizes.geometry.y));
    write(SizeSection, "w3", std::to_string(sizes.geometry.width));
    write(SizeSection, "w4", std::to_string(sizes.geometry.height));
    write(SizeSection, "br1", sizes.priceFormat);
    write(SizeSection, "br2", sizes.basketFormat);
    write(SizeSection, "br2_1", "1");
}

std::optional<WindowGeometry> savedGeometry()
{
    const std::string first = read(SizeSection, "w1", Missing);
    if (first == Missing || first.empty())
        return std::nullopt;
    WindowGeometry geometry;
    geometry.x = wholeValue(first);
    geometry.y = wholeValue(read(SizeSection, "w2"));
    geometry.width = wholeValue(read(SizeSection, "w3"));
    geometry.height = wholeValue(read(SizeSection, "w4"));
    return geometry;
}

std::string savedPriceFormat()
{
    return read(SizeSection, "br1");
}

std::string savedBasketFormat()
{
    if (read(SizeSection, "br2_1") != "1")
        return {};
    return read(SizeSection, "br2");
}

void saveLoadDay(int32_t dayNumber)
{
    write(DateSection, "d1", std::to_string(dayNumber));
}

void clearLoadDay()
{
    write(DateSection, "d1", "");
}

std::string loadDateText(int32_t dayNumber)
{
    return platform::text::w("(загружен ") + platform::text::formatDate(dayNumber, "d6.") + ")";
}

std::string loadDateText()
{
    const std::string day = read(DateSection, "d1", Missing);
    if (day == Missing || day.empty())
        return {};
    return loadDateText(wholeValue(day));
}

} // namespace app
