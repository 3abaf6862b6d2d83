#pragma once

#include "platform/ui/WindowController.h"

#include <cstdint>

// The photo window: the code, designation and name of an item and its photo from the photo
// folder, placed and scaled into the photo area; "Нет фотографии" when there is none.
namespace app {

class Fotovyv : public platform::ui::WindowController
{
public:
    explicit Fotovyv(int32_t code);

    // WindowInit and WindowKill.
    int init() override;
    int kill() override;
    int takeWindowEvent() override;

private:
    // Shows the photo in the window; false when there is none to show.
    bool showPhoto();

    int32_t m_code;
    bool m_rekvOpened = false;
};

// Shows the photo of the item with this code on the caller's thread and returns when the
// window is closed.
void fotovyv(int32_t code);

} // namespace app
