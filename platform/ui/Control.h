#pragma once

#include "platform/ui/FieldPicture.h"
#include "platform/ui/Property.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/VariableBinding.h"
#include "platform/ui/WindowDefinition.h"

#include <QString>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace platform::ui {

class Window;

// One control of a window, built from its definition. Subclasses wrap the Qt widget of their
// kind; a kind added later (lists) registers itself with ControlFactory.
class Control
{
public:
    Control(Window& window, const ControlDefinition& definition);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int number() const { return m_definition.number; }
    int parent() const { return m_definition.parent; }
    const std::string& label() const { return m_definition.label; }
    const std::string& kind() const { return m_definition.kind; }
    const ControlDefinition& definition() const { return m_definition; }
    void setPlacement(const Placement& at) { m_definition.at = at; }
    Window& window() const { return m_window; }

    // nullptr for menu items and toolbar buttons.
    virtual QWidget* widget() const = 0;
    virtual int typeCode() const = 0;

    // Windows-1251 text: a caption, or what an entry shows.
    virtual std::string text() const { return m_text; }
    virtual void setText(std::string_view text);
    // What a person reads on it (Windows-1251), for the state dump: the text, unless the kind
    // shows something else for it.
    virtual std::string shownText() const { return text(); }

    void bind(std::unique_ptr<VariableBinding> binding);
    VariableBinding* binding() const { return m_binding.get(); }
    const FieldPicture& picture() const { return m_picture; }
    // Variable to screen: only when the variable changed since it was last shown, or forced.
    virtual void refresh(bool force);
    // Screen to variable.
    virtual void takeScreenValue() {}
    // An entry with typed text not yet accepted completes it (true when it did).
    virtual bool completePending() { return false; }

    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    bool isDisabled() const { return m_disabled; }
    void setDisabled(bool disabled);
    virtual bool takesFocus() const { return widget() != nullptr; }

    // What a user's click does, queued as input from the event loop.
    virtual void press();
    // Where a person clicks it (no widget: it has no place of its own on the screen).
    virtual ScreenArea screenArea() const;
    // Where a person clicks row n (from 1) of a list (no widget: not on the screen).
    virtual ScreenArea rowArea(int) const { return {}; }
    // Where a person grips the right border of column n (from 1) of a list's header.
    virtual ScreenArea columnBorderArea(int) const { return {}; }
    // List rows for the state dump and the test driver (lists override).
    virtual std::vector<std::string> rows() const { return {}; }
    virtual bool selectRow(int) { return false; }
    // Extra state for the state dump ("checked", "tab 2").
    virtual std::string state() const { return {}; }

    virtual std::string property(Property property) const;
    virtual bool setProperty(Property property, std::string_view value);

    WindowProcedure procedure() const { return m_procedure; }
    void setProcedure(WindowProcedure procedure)
    {
        m_procedure = procedure ? procedure : &defaultWindowProcedure;
    }

    const std::vector<int>& alertKeys() const { return m_alertKeys; }
    void addAlertKey(int key) { m_alertKeys.push_back(key); }

    // Applies hidden/disabled to the widget (the window decides visibility through tabs).
    virtual void applyVisible(bool visible);
    virtual void applyEnabled(bool enabled);

protected:
    // Shows a new caption or value on the widget.
    virtual void showText(const QString& text);
    // The shown form of the bound variable.
    virtual std::string shownValue() const;
    void applyAppearance();

    Window& m_window;
    ControlDefinition m_definition;
    std::unique_ptr<VariableBinding> m_binding;
    FieldPicture m_picture;
    std::string m_text;
    std::string m_lastShown;
    bool m_shownOnce = false;
    bool m_hidden = false;
    bool m_disabled = false;
    std::map<Property, std::string> m_kept;
    std::vector<int> m_alertKeys;
    WindowProcedure m_procedure = &defaultWindowProcedure;
};

} // namespace platform::ui
