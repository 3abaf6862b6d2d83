#include "app/fotovyv/Fotovyv.h"

#include "app/dictionary/Dictionary.h"
#include "app/fotovyv/PhotoFileName.h"
#include "app/fotovyv/PhotoLayout.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/ui/Event.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;

Fotovyv::Fotovyv(const PhotoItem& item)
    : WindowController("quelbarto$quelb009", "P1$WINDOW"), m_item(item)
{
}

int Fotovyv::init()
{
    GlobalErrors().pushProcedure("fotovyv");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    Window& w = window();
    // The item the caller named, not whatever its price-list buffer holds: a basket line's
    // photo would otherwise be headed by the price-list record last read.
    w.bind("PR:KOD", m_item.code);
    w.bind("PR:NAIM", m_item.name);
    w.bind("PR:OBOZ", m_item.designation);
    w.select(w.nextField(0));
    setCloseButton(w.number("?CLOSE"));
    // Esc closes the photo as it closes any dialog.
    w.addAlertKey(0, platform::ui::keyCodeFromName("Esc"));
    m_rekvOpened = RelateREKV && RelateREKV->open() == 0;
    w.open();

    if (!showPhoto()) {
        w.hide(w.number("?IMAGE1"));
        w.unhide(w.number("?STRING1"));
    }
    return Level::Benign;
}

int Fotovyv::takeWindowEvent()
{
    if (event() == Event::AlertKey && keyCode() == platform::ui::keyCodeFromName("Esc"))
        window().post(Event::CloseWindow);
    return WindowController::takeWindowEvent();
}

bool Fotovyv::showPhoto()
{
    Window& w = window();
    // Without a requisites record there is no photo folder: the name is then looked up in the
    // working folder, as with a blank folder.
    std::string folder;
    if (m_rekvOpened && REKV().setFileOrder() == 0 && REKV().next() == 0)
        folder = REK().FOTOKAT.str();
    const std::string name = photoFileName(folder, m_item.code);
    if (!platform::storage::fileExists(name))
        return false;

    const int image = w.number("?IMAGE1");
    w.setProperty(image, Property::Text, name);
    const int naturalWidth = w.propertyNumber(image, Property::NaturalWidth);
    const int naturalHeight = w.propertyNumber(image, Property::NaturalHeight);
    // A file that is there but is no readable JPEG has no size: no photo rather than a
    // division by zero.
    if (naturalWidth <= 0 || naturalHeight <= 0)
        return false;

    const int box = w.number("?BOX1");
    const PhotoRect area{w.propertyNumber(box, Property::X), w.propertyNumber(box, Property::Y),
                         w.propertyNumber(box, Property::Width),
                         w.propertyNumber(box, Property::Height)};
    const PhotoRect placed = layoutPhoto(naturalWidth, naturalHeight, area);
    w.setProperty(image, Property::X, placed.x);
    w.setProperty(image, Property::Y, placed.y);
    w.setProperty(image, Property::Width, placed.width);
    w.setProperty(image, Property::Height, placed.height);

    w.unhide(image);
    w.display(image);
    w.hide(w.number("?STRING1"));
    return true;
}

int Fotovyv::kill()
{
    const int level = WindowController::kill();
    if (m_rekvOpened && RelateREKV)
        RelateREKV->close();
    m_rekvOpened = false;
    GlobalErrors().popProcedure("fotovyv");
    return level;
}

void fotovyv(const PhotoItem& item)
{
    Fotovyv procedure(item);
    procedure.run();
}

} // namespace app
