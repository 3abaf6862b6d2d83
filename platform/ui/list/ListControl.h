#pragma once

#include "platform/ui/Control.h"
#include "platform/ui/list/ListFormat.h"
#include "platform/ui/list/ListView.h"

#include <QFont>
#include <QPointer>

class QKeyEvent;

#include <map>
#include <string>
#include <vector>

namespace platform::ui {

class BrowseList;
class InPlaceEditor;

// The control kind "list": a table of a browse list's rows with the columns of its format,
// icon columns, per-cell colours, a line height and per-style fonts. Keys and clicks move the
// highlight through the browse list (so a page-loaded list reads the next page), typed
// characters go to its locator, and the in-place editor's keys start an edit.
class ListControl : public Control
{
public:
    // Where the last left press landed.
    static constexpr int ZoneNothing = 0;
    static constexpr int ZoneRow = 1;
    static constexpr int ZoneIcon = 5;

    ListControl(Window& window, const ControlDefinition& definition, QWidget* parent);
    ~ListControl() override;

    QWidget* widget() const override;
    int typeCode() const override { return TypeCode::List; }
    ListView* view() const { return m_view; }

    // Shows the browse list (its model) in this control; the list must outlive the control's
    // use of it, or be detached with attach(nullptr).
    void attach(BrowseList* list);
    BrowseList* list() const { return m_list; }
    void setEditor(InPlaceEditor* editor) { m_editor = editor; }
    InPlaceEditor* editor() const { return m_editor; }

    const ListFormat& format() const { return m_format; }
    void setFormat(const ListFormat& format);
    // Line height in dialog units (0: the font's).
    void setLineHeight(int units);
    int lineHeight() const { return m_lineHeight; }
    void setStyleFont(int style, const QFont& font);
    // Icon names, 1-based by position: a file of the icon folder, or "U+XXXX" for a symbol
    // drawn from the font (the check marks of the lists).
    void setIconList(std::vector<std::string> icons);
    const std::vector<std::string>& iconList() const { return m_iconList; }

    int mouseZone() const { return m_mouseZone; }
    int mouseRow() const { return m_mouseRow; }
    int mouseColumn() const { return m_mouseColumn; }

    // The highlighted row shown (after the browse list moved it).
    void showHighlight(int row);

    std::vector<std::string> rows() const override;
    bool selectRow(int row) override;
    ScreenArea rowArea(int row) const override;
    ScreenArea columnBorderArea(int column) const override;
    std::string state() const override;
    std::string property(Property property) const override;
    bool setProperty(Property property, std::string_view value) override;

private:
    bool takeKey(QKeyEvent* event);
    void pressed(int row, int column, int zone);
    void fitPage();
    void pageBarAction(int action);
    // The page bar's thumb where the page stands in the order.
    void showPlace();
    void userMoved();
    void applyColumns();
    void fitLastColumn();
    // A column border the person dragged: the format keeps the width left.
    void columnResized(int column, int pixels);
    // The column the header stretches to its right edge (-1: none).
    int stretchedColumn() const;

    QPointer<ListView> m_view;
    BrowseList* m_list = nullptr;
    InPlaceEditor* m_editor = nullptr;
    ListFormat m_format;
    std::size_t m_definedColumns = 0; // the columns of the window definition's format
    bool m_applyingColumns = false;   // the program sets the widths, not the person
    int m_lineHeight = 0;
    std::map<int, QFont> m_styleFonts;
    std::vector<std::string> m_iconList;
    int m_mouseZone = ZoneNothing;
    int m_mouseRow = -1;
    int m_mouseColumn = -1;
    bool m_showing = false;
    std::vector<QMetaObject::Connection> m_rowsWatch;
};

} // namespace platform::ui
