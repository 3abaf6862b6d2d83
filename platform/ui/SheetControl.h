#pragma once

#include "platform/ui/Control.h"

#include <QFrame>
#include <QPointer>
#include <QTabBar>

namespace platform::ui {

class TabControl;

// A tab sheet: a row of tabs over a frame. The controls of a tab are placed in window
// coordinates and shown only while their tab is the current one. Its variable holds the
// position (from 1) of the current tab; choosing a tab raises a new-selection event.
class SheetControl : public Control
{
public:
    SheetControl(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override { return m_frame; }
    int typeCode() const override { return TypeCode::Sheet; }
    bool takesFocus() const override { return false; }
    void refresh(bool force) override;
    void takeScreenValue() override;
    std::string state() const override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

    void addTab(TabControl& tab);
    // Position from 1 of the current tab (0 when the sheet has none).
    int currentTab() const;
    void setCurrentTab(int position);
    bool isCurrent(const TabControl& tab) const;
    void setTabText(const TabControl& tab, const QString& text);
    void setTabVisible(const TabControl& tab, bool visible);
    void chooseTab(const TabControl& tab);
    // The tab's place on the bar (empty while it is not shown).
    ScreenArea tabArea(const TabControl& tab) const;
    // Inside the frame below the bar, in the sheet widget's coordinates: where the controls
    // of its tabs belong.
    QRect pageArea() const;

private:
    int indexOf(const TabControl& tab) const;

    QPointer<QWidget> m_frame;
    QTabBar* m_bar;
    QFrame* m_pane;
    std::vector<TabControl*> m_tabs;
};

} // namespace platform::ui
