#include "app/browsepriosn/PriceWindowFitter.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/WindowResizer.h"

#include <QFont>

#include <algorithm>

namespace app {

using namespace platform::ui;

namespace {

constexpr int Heading = 3;
constexpr int LoadDate = 6;
constexpr int Selection = 4;
constexpr int Order = 10;
constexpr int PriceMarker = 5;
constexpr int BasketMarker = 28;
constexpr int Separator = 12;
constexpr int ButtonsOfWidth[] = {20, 21, 22, 23, 26, 25, 24, 54};
constexpr int PriceButtons[] = {7, 8, 9};
constexpr int TotalsRow[] = {13, 15, 17, 14, 16, 18};

QFont listFont(const char* family, int points, bool bold)
{
    QFont font(QString::fromLatin1(family), points);
    font.setBold(bold);
    return font;
}

void setIfChanged(Window& window, int control, Property property, int before, int after)
{
    if (before != after)
        window.setProperty(control, property, after);
}

} // namespace

PriceWindowFitter::PriceWindowFitter(Window& window, WindowResizer* resizer, ListControl* priceList,
                                     ListControl* basketList)
    : m_window(window), m_resizer(resizer), m_priceList(priceList), m_basketList(basketList)
{
}

PriceWindowLayout PriceWindowFitter::read(const Window& window)
{
    PriceWindowLayout layout;
    layout.window = {window.propertyNumber(0, Property::X), window.propertyNumber(0, Property::Y),
                     window.propertyNumber(0, Property::Width),
                     window.propertyNumber(0, Property::Height)};
    for (const Control* control : window.controls())
        layout.controls[control->number()] = {
            window.propertyNumber(control->number(), Property::X),
            window.propertyNumber(control->number(), Property::Y),
            window.propertyNumber(control->number(), Property::Width),
            window.propertyNumber(control->number(), Property::Height)};
    return layout;
}

void PriceWindowFitter::fit(int clientWidth, int clientHeight)
{
    const Box window = read(m_window).window;
    const bool wide = tooWide(window, clientWidth);
    const bool low = tooLow(window, clientHeight);
    if (!wide && !low)
        return;
    // The fit places the controls and sizes the window itself (the resizer, switched off,
    // lets go of the minimum size); the resizer then follows from the fitted places.
    if (m_resizer)
        m_resizer->setEnabled(false);
    if (wide)
        narrow(std::max(clientWidth, NarrowestFit));
    if (low)
        lower(std::max(clientHeight, LowestFit));
    if (fitNeeded(read(m_window).window, clientWidth, clientHeight))
        smallerListFonts();
    if (m_resizer) {
        m_resizer->rebase();
        m_resizer->setEnabled(true);
    }
}

void PriceWindowFitter::narrow(int clientWidth)
{
    m_window.setProperty(0, Property::Resizable, 0);
    const PriceWindowLayout before = read(m_window);
    PriceWindowLayout after = before;
    fitToWidth(after, clientWidth);
    setFontSize(Heading, 8);
    m_window.setProperty(Heading, Property::Text, platform::text::w("ПРАЙС-ЛИСТ"));
    setFontSize(LoadDate, 8);
    for (int button : ButtonsOfWidth)
        setFontSize(button, 8);
    m_window.setProperty(PriceMarker, Property::LineWidth, 1);
    m_window.setProperty(BasketMarker, Property::LineWidth, 1);
    write(before, after);
}

void PriceWindowFitter::lower(int clientHeight)
{
    const PriceWindowLayout before = read(m_window);
    PriceWindowLayout after = before;
    fitToHeight(after, clientHeight);
    setFontSize(Selection, 10);
    for (int button : PriceButtons)
        setFontSize(button, 9);
    setFontSize(Order, 10);
    m_window.setProperty(Separator, Property::LineWidth, 1);
    for (int control : TotalsRow)
        setFontSize(control, 9);
    write(before, after);
}

void PriceWindowFitter::smallerListFonts()
{
    if (m_priceList) {
        m_priceList->setLineHeight(8);
        m_priceList->setStyleFont(1, listFont("MS Sans Serif", 8, true));
        m_priceList->setStyleFont(3, listFont("MS Sans Serif", 8, false));
        m_priceList->setStyleFont(2, listFont("Wingdings", 9, true));
        m_priceList->setStyleFont(4, listFont("Wingdings", 10, true));
    }
    if (m_basketList) {
        m_basketList->setLineHeight(8);
        m_basketList->setStyleFont(1, listFont("MS Sans Serif", 8, true));
        m_basketList->setStyleFont(2, listFont("MS Sans Serif", 8, false));
        m_basketList->setStyleFont(4, listFont("Wingdings", 10, true));
    }
}

void PriceWindowFitter::write(const PriceWindowLayout& before, const PriceWindowLayout& after)
{
    for (const auto& [control, box] : after.controls) {
        const auto was = before.controls.find(control);
        if (was == before.controls.end() || was->second == box)
            continue;
        setIfChanged(m_window, control, Property::X, was->second.x, box.x);
        setIfChanged(m_window, control, Property::Y, was->second.y, box.y);
        setIfChanged(m_window, control, Property::Width, was->second.width, box.width);
        setIfChanged(m_window, control, Property::Height, was->second.height, box.height);
    }
    setIfChanged(m_window, 0, Property::X, before.window.x, after.window.x);
    setIfChanged(m_window, 0, Property::Y, before.window.y, after.window.y);
    setIfChanged(m_window, 0, Property::Width, before.window.width, after.window.width);
    setIfChanged(m_window, 0, Property::Height, before.window.height, after.window.height);
}

void PriceWindowFitter::setFontSize(int control, int points)
{
    m_window.setProperty(control, Property::FontSize, points);
}

} // namespace app
