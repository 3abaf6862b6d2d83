#pragma once

#include "platform/ui/Control.h"

namespace platform::ui {

class SheetControl;

// One tab of a sheet; it has no widget of its own (the sheet draws the tab).
class TabControl : public Control
{
public:
    TabControl(Window& window, const ControlDefinition& definition);

    QWidget* widget() const override { return nullptr; }
    int typeCode() const override { return TypeCode::Tab; }
    bool takesFocus() const override { return false; }
    void press() override;
    ScreenArea screenArea() const override;
    std::string state() const override;
    void applyVisible(bool visible) override;
    void applyEnabled(bool enabled) override;

    SheetControl* sheet() const { return m_sheet; }

protected:
    void showText(const QString& text) override;

private:
    SheetControl* m_sheet = nullptr;
};

} // namespace platform::ui
