#pragma once

#include "platform/ui/Control.h"

#include <QPointer>
#include <QProgressBar>

namespace platform::ui {

// A progress bar from 0 to 100; its variable (or the Progress property) is the value.
class ProgressControl : public Control
{
public:
    ProgressControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_bar; }
    int typeCode() const override { return TypeCode::Progress; }
    bool takesFocus() const override { return false; }
    void refresh(bool force) override;
    std::string state() const override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

private:
    QPointer<QProgressBar> m_bar;
};

} // namespace platform::ui
