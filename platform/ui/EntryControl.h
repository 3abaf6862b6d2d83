#pragma once

#include "platform/ui/Control.h"

#include <QLineEdit>
#include <QPointer>

namespace platform::ui {

// An entry field: typing raises a new-selection event on each change; completing it (Enter,
// leaving it, or pressing a button of the window) takes the text into the variable and raises
// the accepted event.
class EntryControl : public Control
{
public:
    EntryControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_edit; }
    int typeCode() const override { return TypeCode::Entry; }
    std::string text() const override;
    std::string shownText() const override;
    void takeScreenValue() override;
    bool completePending() override;

    // Replaces the text as typed keys would (new-selection events included), for the test
    // driver.
    void typeText(const QString& text);

protected:
    void showText(const QString& text) override;
    std::string shownValue() const override;

private:
    void complete();
    bool takesBackUnusableLetters(const QString& now);

    QPointer<QLineEdit> m_edit;
    bool m_edited = false;
};

} // namespace platform::ui
