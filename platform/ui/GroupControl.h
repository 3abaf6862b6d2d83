#pragma once

#include "platform/ui/Control.h"

#include <QGroupBox>
#include <QPointer>

namespace platform::ui {

// A framed group with a caption; the controls declared inside it are placed in window
// coordinates like every other control.
class GroupControl : public Control
{
public:
    GroupControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_box; }
    int typeCode() const override { return TypeCode::Group; }
    bool takesFocus() const override { return false; }

protected:
    void showText(const QString& text) override;

    QPointer<QGroupBox> m_box;
};

} // namespace platform::ui
