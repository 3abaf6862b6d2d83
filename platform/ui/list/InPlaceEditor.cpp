#include "platform/ui/list/InPlaceEditor.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"
#include "platform/ui/list/RecordFields.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace platform::ui {

InPlaceEditor::InPlaceEditor(ListControl& control, BrowseList& list)
    : m_control(control), m_list(list), m_alive(std::make_shared<bool>(true))
{
    control.setEditor(this);
    // The editor's buttons are taken before the window procedure sees them.
    std::weak_ptr<bool> alive = m_alive;
    control.window().addEventHandler(Event::Accepted, [this, alive](Window& window) {
        if (alive.expired())
            return Level::Benign;
        return pressedControl(window.field()) ? Level::Notify : Level::Benign;
    });
}

InPlaceEditor::~InPlaceEditor()
{
    m_alive.reset();
    if (m_control.editor() == this)
        m_control.setEditor(nullptr);
    for (QPointer<QLineEdit>& entry : m_entries)
        delete entry.data();
}

void InPlaceEditor::setControls(int insert, int change, int remove)
{
    m_insertControl = insert;
    m_changeControl = change;
    m_deleteControl = remove;
}

bool InPlaceEditor::pressedControl(int control)
{
    if (control == 0)
        return false;
    if (control == m_insertControl) {
        insert();
        return true;
    }
    if (control == m_changeControl) {
        change();
        return true;
    }
    if (control == m_deleteControl) {
        remove();
        return true;
    }
    return false;
}

std::string InPlaceEditor::deleteQuestion()
{
    return text::w("Удалить выделенную запись?");
}

std::string InPlaceEditor::duplicateMessage()
{
    return text::w("Такая запись уже есть: значение ключа повторяется. Измените значения "
                   "или нажмите Esc, чтобы отменить правку.");
}

bool InPlaceEditor::editable(int column) const
{
    const auto& fields = m_list.model().fields();
    return column >= 0 && column < static_cast<int>(fields.size()) &&
           fields[static_cast<std::size_t>(column)] >= 0;
}

int InPlaceEditor::editColumn() const
{
    return m_column;
}

void InPlaceEditor::insert()
{
    if (m_editing)
        return;
    const int at = m_list.highlighted() < 0 ? 0 : m_list.highlighted() + 1;
    m_list.model().insertBlankRow(at);
    m_inserting = true;
    open(at, 0);
}

void InPlaceEditor::change(int column)
{
    if (m_editing || m_list.highlighted() < 0)
        return;
    m_inserting = false;
    open(m_list.highlighted(), column);
}

void InPlaceEditor::open(int row, int column)
{
    m_editing = true;
    m_row = row;
    ListView* view = m_control.view();
    const ListModel& model = m_list.model();
    m_control.showHighlight(row);
    m_entries.assign(static_cast<std::size_t>(model.columnCount()), nullptr);
    for (int c = 0; c < model.columnCount(); ++c) {
        if (!editable(c))
            continue;
        auto* entry = new QLineEdit(view->viewport());
        const int field = model.fields()[static_cast<std::size_t>(c)];
        const auto& def = m_list.file().layout().fields[static_cast<std::size_t>(field)];
        if (def.type == storage::FieldType::String)
            entry->setMaxLength(static_cast<int>(def.size));
        entry->setFrame(false);
        entry->setText(text::toQString(model.row(row).cells[static_cast<std::size_t>(c)]));
        entry->installEventFilter(this);
        entry->show();
        m_entries[static_cast<std::size_t>(c)] = entry;
    }
    place();
    int first = column;
    while (first < model.columnCount() && !editable(first))
        ++first;
    focusColumn(first < model.columnCount() ? first : 0);
}

void InPlaceEditor::place()
{
    ListView* view = m_control.view();
    for (std::size_t c = 0; c < m_entries.size(); ++c) {
        if (!m_entries[c])
            continue;
        const QRect cell = view->visualRect(view->model()->index(m_row, static_cast<int>(c)));
        m_entries[c]->setGeometry(cell);
    }
}

void InPlaceEditor::focusColumn(int column)
{
    if (column < 0 || column >= static_cast<int>(m_entries.size()) ||
        !m_entries[static_cast<std::size_t>(column)])
        return;
    m_column = column;
    QLineEdit* entry = m_entries[static_cast<std::size_t>(column)];
    entry->setFocus();
    entry->selectAll();
}

std::string InPlaceEditor::cellText(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_entries.size()) ||
        !m_entries[static_cast<std::size_t>(column)])
        return {};
    return text::fromQString(m_entries[static_cast<std::size_t>(column)]->text());
}

void InPlaceEditor::setCellText(int column, std::string_view value)
{
    if (column < 0 || column >= static_cast<int>(m_entries.size()) ||
        !m_entries[static_cast<std::size_t>(column)])
        return;
    m_entries[static_cast<std::size_t>(column)]->setText(text::toQString(value));
}

void InPlaceEditor::close()
{
    // The edit ends before the entries go: hiding the focused entry makes the view move the
    // focus with a synthetic Tab, which must not reach the row's edit again.
    const bool inserting = m_inserting;
    const int row = m_row;
    m_editing = false;
    m_inserting = false;
    m_row = -1;
    m_control.view()->setFocus();
    for (QPointer<QLineEdit>& entry : m_entries) {
        if (entry) {
            entry->removeEventFilter(this);
            entry->hide();
            entry->deleteLater();
        }
    }
    m_entries.clear();
    if (inserting)
        m_list.model().removeBlankRow(row);
}

void InPlaceEditor::cancel()
{
    if (!m_editing)
        return;
    const int row = m_row;
    const bool inserting = m_inserting;
    close();
    m_list.setHighlighted(inserting ? row - 1 : row);
}

bool InPlaceEditor::save()
{
    if (!m_editing)
        return true;
    const storage::ThreadScope scope(m_control.window().thread());
    storage::RecordFile& file = m_list.file();
    const std::string action = m_inserting ? "Add" : "Put";
    if (m_inserting) {
        file.clearBuffer();
    } else {
        // The row's record is read again, so a field this list does not show keeps the value
        // another window may have written meanwhile.
        const int found = m_list.model().fetchRecord(m_row);
        if (found != 0) {
            if (m_list.errorReporter())
                m_list.errorReporter()->reportFileError(found, file.diskName(), "Get");
            return false;
        }
    }
    const auto& fields = m_list.model().fields();
    for (std::size_t c = 0; c < m_entries.size() && c < fields.size(); ++c) {
        if (!m_entries[c])
            continue;
        const auto& def = file.layout().fields[static_cast<std::size_t>(fields[c])];
        RecordFields::setText(def, file.buffer(), text::fromQString(m_entries[c]->text()));
    }
    const int code = m_inserting ? file.add() : file.put();
    if (code == storage::Error::DuplicateKey) {
        message(duplicateMessage(), text::w("Повтор значения ключа"), MessageIcon::Exclamation);
        focusColumn(m_column);
        return false;
    }
    if (code != 0) {
        if (m_list.errorReporter())
            m_list.errorReporter()->reportFileError(code, file.diskName(), action);
        focusColumn(m_column);
        return false;
    }
    const std::vector<std::byte> written(file.buffer(), file.buffer() + file.layout().recordSize);
    close();
    std::copy(written.begin(), written.end(), file.buffer());
    m_list.resetToBuffer();
    return true;
}

bool InPlaceEditor::remove()
{
    if (m_editing || m_list.highlighted() < 0)
        return false;
    if (message(deleteQuestion(), text::w("Удаление записи"), MessageIcon::Question,
                Button::Yes | Button::No, Button::No) != Button::Yes)
        return false;
    const storage::ThreadScope scope(m_control.window().thread());
    storage::RecordFile& file = m_list.file();
    int code = m_list.fetchHighlighted();
    // A fetch that failed otherwise than by the record being gone was said by the list.
    const bool said = code != 0 && code != storage::Error::RecordNotFound;
    if (code == 0)
        code = file.erase();
    if (code != 0) {
        if (!said && m_list.errorReporter())
            m_list.errorReporter()->reportFileError(code, file.diskName(), "Delete");
        return false;
    }
    // The highlight goes to the record that followed the deleted one.
    m_list.reset(true);
    return true;
}

bool InPlaceEditor::moveEdit(bool down)
{
    const int column = m_column;
    if (!save())
        return true;
    const int before = m_list.highlighted();
    if (down)
        m_list.lineDown();
    else
        m_list.lineUp();
    if (m_list.highlighted() != before)
        change(column);
    return true;
}

bool InPlaceEditor::takeKey(QKeyEvent* event)
{
    if (!m_editing)
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        save();
        return true;
    case Qt::Key_Escape:
        cancel();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_arrowAction != ArrowsMoveEdit)
            return true;
        return moveEdit(event->key() == Qt::Key_Down);
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool back = event->key() == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier);
        int next = m_column + (back ? -1 : 1);
        while (next >= 0 && next < static_cast<int>(m_entries.size()) && !editable(next))
            next += back ? -1 : 1;
        if (next >= static_cast<int>(m_entries.size()))
            save();
        else if (next >= 0)
            focusColumn(next);
        return true;
    }
    default:
        return false;
    }
}

bool InPlaceEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (std::size_t c = 0; c < m_entries.size(); ++c)
            if (m_entries[c] == watched)
                m_column = static_cast<int>(c);
        return false;
    }
    if (event->type() == QEvent::KeyPress)
        return takeKey(static_cast<QKeyEvent*>(event));
    return false;
}

} // namespace platform::ui
