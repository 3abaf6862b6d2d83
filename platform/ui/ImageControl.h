#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/image/ImageView.h"

#include <QPointer>

namespace platform::ui {

// The "image" kind: its text is the name of a JPEG file, and setting the text loads it. A
// picture that loads sizes the control to the picture's natural size; the program then places
// and scales it with the position properties. A missing or undecodable file leaves the control
// without a picture (natural size 0 x 0), never an error.
class ImageControl : public Control
{
public:
    ImageControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_view; }
    int typeCode() const override { return TypeCode::Image; }
    bool takesFocus() const override { return false; }

    void setText(std::string_view text) override;
    void refresh(bool force) override;
    std::string state() const override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

    bool hasPicture() const { return m_view && m_view->hasPicture(); }
    // The picture's natural size in the window's dialog units (at least 1 when there is a
    // picture, so callers may divide by it); 0 without a picture.
    int naturalWidth() const;
    int naturalHeight() const;

private:
    void load();

    QPointer<ImageView> m_view;
};

} // namespace platform::ui
