#pragma once

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QKeyEvent;
class QLineEdit;

namespace platform::ui {

class BrowseList;
class ListControl;

// Editing a list's rows in place: an insert opens a blank row, a change edits the highlighted
// row, each with an entry over every column that shows a field; a delete asks first. The row's
// edit ends by saving (Enter, Tab past the last column, or an arrow key with the arrow action
// set) or by Esc, which drops what was typed. A save writes the record at once; a duplicate
// key value is refused with a message and the row stays in edit, so nothing typed is lost.
class InPlaceEditor : public QObject
{
public:
    // The arrow keys end the row's edit by saving and go on editing the previous or next row
    // in the same column.
    static constexpr int ArrowsMoveEdit = 24;

    InPlaceEditor(ListControl& control, BrowseList& list);
    ~InPlaceEditor() override;

    // The window's buttons that insert, change and delete (0: none); pressing one acts.
    void setControls(int insert, int change, int remove);
    void setArrowAction(int action) { m_arrowAction = action; }

    void insert();
    void change(int column = 0);
    // Deletes the highlighted record after the confirmation; true when it was deleted.
    bool remove();

    bool isEditing() const { return m_editing; }
    bool isInserting() const { return m_editing && m_inserting; }
    int editRow() const { return m_row; }
    int editColumn() const;
    // What the entries of the row hold (Windows-1251), and typing into them.
    std::string cellText(int column) const;
    void setCellText(int column, std::string_view text);
    // Ends the row's edit by saving; false when the save was refused (the edit stays open).
    bool save();
    void cancel();

    // The keys of the row's edit; true when taken.
    bool takeKey(QKeyEvent* event);

    // The texts of the two messages.
    static std::string deleteQuestion();
    static std::string duplicateMessage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(int row, int column);
    void close();
    void place();
    void focusColumn(int column);
    bool editable(int column) const;
    bool moveEdit(bool down);
    bool pressedControl(int control);

    ListControl& m_control;
    BrowseList& m_list;
    std::vector<QPointer<QLineEdit>> m_entries; // one per column; null where no field is shown
    std::shared_ptr<bool> m_alive;
    int m_insertControl = 0;
    int m_changeControl = 0;
    int m_deleteControl = 0;
    int m_arrowAction = 0;
    int m_row = -1;
    int m_column = 0;
    bool m_editing = false;
    bool m_inserting = false;
};

} // namespace platform::ui
