#pragma once

#include "platform/ui/Control.h"

#include <QPointer>
#include <QPushButton>

namespace platform::ui {

class ButtonControl : public Control
{
public:
    ButtonControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_button; }
    int typeCode() const override { return TypeCode::Button; }
    void press() override;

protected:
    void showText(const QString& text) override;

private:
    QPointer<QPushButton> m_button;
};

} // namespace platform::ui
