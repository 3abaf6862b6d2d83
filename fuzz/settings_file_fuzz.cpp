// The settings file "quelbarto.ini" as the price-list window reads it at its start: its
// geometry, the load date and the two list formats. Then the window saves its sizes and the
// load saves its day, as they do at the end: what was saved reads back as saved, and every
// other entry the program reads keeps its value.
#include "app/browsepriosn/BrowsepriosnSettings.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/FuzzTempFolder.h"
#include "fuzz/support/InTempFolder.h"
#include "platform/ui/list/ListFormat.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using fuzzsupport::FuzzTempFolder;
using fuzzsupport::require;
using platform::ui::ListFormat;

namespace {

// The lists' own columns: a stored format is read up to them.
constexpr std::size_t PriceListColumns = 12;
constexpr std::size_t BasketColumns = 9;

bool sameGeometry(const std::optional<app::WindowGeometry>& a, const app::WindowGeometry& b)
{
    return a && a->x == b.x && a->y == b.y && a->width == b.width && a->height == b.height;
}

// A stored format as the list takes it and gives it back when the window saves its sizes.
std::string formatAsSaved(const std::string& stored, std::size_t columns)
{
    const std::optional<ListFormat> format = ListFormat::parse(stored, columns);
    if (!format)
        return {};
    const std::string text = format->text();
    const std::optional<ListFormat> again = ListFormat::parse(text, columns);
    require(again && *again == *format, "a list format reads back as written");
    return text;
}

// A value as a read gives it back after a write: line breaks and NULs become blanks (a value
// cannot add lines), and blanks around it are not part of it.
std::string asReadBack(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    const std::size_t first = value.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzzsupport::InTempFolder::anchorArtifacts(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The window finds its settings file in the working folder.
    const fuzzsupport::InTempFolder inTempFolder;
    FuzzTempFolder::write("quelbarto.ini",
                          std::string_view(reinterpret_cast<const char*>(data), size));

    const std::optional<app::WindowGeometry> geometry = app::savedGeometry();
    const std::string priceFormat = formatAsSaved(app::savedPriceFormat(), PriceListColumns);
    const std::string basketFormat = formatAsSaved(app::savedBasketFormat(), BasketColumns);
    const std::string loadDate = app::loadDateText();

    app::PriceWindowSizes sizes;
    sizes.geometry = geometry.value_or(app::WindowGeometry{10, 20, 640, 480});
    sizes.priceFormat = priceFormat;
    sizes.basketFormat = basketFormat;
    app::savePriceWindowSizes(sizes);
    require(sameGeometry(app::savedGeometry(), sizes.geometry), "the saved geometry reads back");
    require(app::savedPriceFormat() == asReadBack(priceFormat), "the price format reads back");
    require(app::savedBasketFormat() == asReadBack(basketFormat), "the basket format reads back");
    require(app::loadDateText() == loadDate, "saving the sizes keeps the load date");

    app::saveLoadDay(82000);
    require(app::loadDateText() == app::loadDateText(82000), "the saved load day reads back");
    require(sameGeometry(app::savedGeometry(), sizes.geometry), "saving the day keeps the sizes");
    require(app::savedPriceFormat() == asReadBack(priceFormat), "saving the day keeps the format");
    return 0;
}
