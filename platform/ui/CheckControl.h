#pragma once

#include "platform/ui/Control.h"

#include <QCheckBox>
#include <QPointer>

namespace platform::ui {

// A check box: its variable holds the definition's true value when ticked, its false value
// otherwise.
class CheckControl : public Control
{
public:
    CheckControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_box; }
    int typeCode() const override { return TypeCode::Check; }
    void refresh(bool force) override;
    void takeScreenValue() override;
    void press() override;
    std::string state() const override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

    bool isChecked() const { return m_box->isChecked(); }

protected:
    void showText(const QString& text) override;

private:
    bool variableTicked() const;

    QPointer<QCheckBox> m_box;
};

} // namespace platform::ui
