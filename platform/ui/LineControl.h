#pragma once

#include "platform/ui/Control.h"

#include <QFrame>
#include <QPointer>

namespace platform::ui {

// A line: vertical when its width is 0, horizontal otherwise.
class LineControl : public Control
{
public:
    LineControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_line; }
    int typeCode() const override { return TypeCode::Line; }
    bool takesFocus() const override { return false; }
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

private:
    QPointer<QFrame> m_line;
};

} // namespace platform::ui
