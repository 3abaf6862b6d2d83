#pragma once

#include "platform/ui/Control.h"

#include <QLabel>
#include <QPointer>

namespace platform::ui {

// Static texts ("string", "prompt") and display fields ("display": a bound variable shown
// through a picture, never edited).
class StringControl : public Control
{
public:
    StringControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_label; }
    int typeCode() const override;
    bool takesFocus() const override { return false; }

protected:
    void showText(const QString& text) override;

private:
    QPointer<QLabel> m_label;
};

} // namespace platform::ui
