#pragma once

#include "platform/text/FixedString.h"
#include "platform/ui/WindowController.h"

#include <cstdint>

// The photo window: the code, designation and name of an item and its photo from the photo
// folder, placed and scaled into the photo area; "Нет фотографии" when there is none.
namespace app {

// The item whose photo is shown, as its caller holds it: a price-list record or a basket line.
struct PhotoItem
{
    int32_t code = 0;
    platform::text::FixedString<50> designation;
    platform::text::FixedString<50> name;
};

class Fotovyv : public platform::ui::WindowController
{
public:
    explicit Fotovyv(const PhotoItem& item);

    // WindowInit and WindowKill.
    int init() override;
    int kill() override;
    int takeWindowEvent() override;

private:
    // Shows the photo in the window; false when there is none to show.
    bool showPhoto();

    // The window's fields show this copy, so they name the item the photo belongs to.
    PhotoItem m_item;
    bool m_rekvOpened = false;
};

// Shows the item's photo on the caller's thread and returns when the window is closed.
void fotovyv(const PhotoItem& item);

} // namespace app
