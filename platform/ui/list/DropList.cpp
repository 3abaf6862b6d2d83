#include "platform/ui/list/DropList.h"

#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/RecordFields.h"

#include <QComboBox>

namespace platform::ui {

DropList::DropList(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_box(new QComboBox(parent))
{
    m_box->setEditable(false);
    QObject::connect(m_box, &QComboBox::activated, m_box, [this](int entry) { choose(entry); });
    applyAppearance();
}

QWidget* DropList::widget() const
{
    return m_box;
}

void DropList::fill(storage::View& view, int shownField, int copiedField)
{
    const auto& fields = view.file().layout().fields;
    if (shownField < 0 || copiedField < 0 || shownField >= static_cast<int>(fields.size()) ||
        copiedField >= static_cast<int>(fields.size()))
        return;
    m_shown.clear();
    m_values.clear();
    view.setStart();
    while (view.next() == 0) {
        const std::byte* record = view.file().buffer();
        m_shown.push_back(RecordFields::text(fields[static_cast<std::size_t>(shownField)], record));
        m_values.push_back(RecordFields::text(fields[static_cast<std::size_t>(copiedField)], record));
    }
    m_filling = true;
    m_box->clear();
    for (const std::string& shown : m_shown)
        m_box->addItem(text::toQString(shown));
    m_filling = false;
    refresh(true);
}

void DropList::choose(int entry)
{
    if (m_filling || entry < 0 || entry >= entries())
        return;
    const std::string& value = m_values[static_cast<std::size_t>(entry)];
    if (m_binding)
        m_binding->setText(value);
    m_text = value;
    m_lastShown = shownValue();
    m_box->setCurrentIndex(entry);
    m_window.raise(Event::NewSelection, number());
}

void DropList::showText(const QString& text)
{
    // The variable's value picks the entry that copies it; an unknown value shows none.
    std::string value = text::fromQString(text);
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    int found = -1;
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        if (m_values[i] == value) {
            found = static_cast<int>(i);
            break;
        }
    }
    m_filling = true;
    m_box->setCurrentIndex(found);
    m_filling = false;
}

std::vector<std::string> DropList::rows() const
{
    return m_shown;
}

bool DropList::selectRow(int row)
{
    if (row < 1 || row > entries())
        return false;
    choose(row - 1);
    return true;
}

} // namespace platform::ui
