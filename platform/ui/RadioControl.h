#pragma once

#include "platform/ui/Control.h"

#include <QPointer>
#include <QRadioButton>

namespace platform::ui {

class OptionControl;

class RadioControl : public Control
{
public:
    RadioControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_button; }
    int typeCode() const override { return TypeCode::Radio; }
    void press() override;
    std::string state() const override;

    // The value the group's variable takes when this radio is chosen (its text when the
    // definition gives none).
    std::string value() const;
    QRadioButton* button() const { return m_button; }

protected:
    void showText(const QString& text) override;

private:
    QPointer<QRadioButton> m_button;
};

} // namespace platform::ui
