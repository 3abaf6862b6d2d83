#include "platform/ui/ImageControl.h"

#include "platform/storage/RecordFile.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace platform::ui {

ImageControl::ImageControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_view(new ImageView(parent))
{
    m_view->setFocusPolicy(Qt::NoFocus);
    applyAppearance();
    if (!m_text.empty())
        load();
}

void ImageControl::setText(std::string_view text)
{
    m_text = std::string(text);
    load();
}

void ImageControl::load()
{
    if (!m_view)
        return;
    // Program names are Windows-1251, may use "\" and may differ from the disk name in case.
    const std::string path = storage::resolveFileName(m_text);
    if (path.empty() || !m_view->load(QString::fromStdString(path))) {
        m_view->clear();
        return;
    }
    m_window.setControlPlacement(*this, Property::Width, naturalWidth());
    m_window.setControlPlacement(*this, Property::Height, naturalHeight());
}

int ImageControl::naturalWidth() const
{
    if (!hasPicture())
        return 0;
    return std::max(1, m_window.units().fromPixelsX(m_view->naturalSize().width()));
}

int ImageControl::naturalHeight() const
{
    if (!hasPicture())
        return 0;
    return std::max(1, m_window.units().fromPixelsY(m_view->naturalSize().height()));
}

void ImageControl::refresh(bool force)
{
    if (force && m_view)
        m_view->update();
}

std::string ImageControl::state() const
{
    if (!hasPicture())
        return "no picture";
    const QSize natural = m_view->naturalSize();
    return "picture " + std::to_string(natural.width()) + "x" + std::to_string(natural.height());
}

std::string ImageControl::property(Property property) const
{
    switch (property) {
    case Property::NaturalWidth:
        return std::to_string(naturalWidth());
    case Property::NaturalHeight:
        return std::to_string(naturalHeight());
    default:
        return Control::property(property);
    }
}

bool ImageControl::setProperty(Property property, std::string_view value)
{
    if (property == Property::NaturalWidth || property == Property::NaturalHeight)
        return false;
    return Control::setProperty(property, value);
}

} // namespace platform::ui
