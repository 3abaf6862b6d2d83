#include "platform/automation/workbook/Workbook.h"

namespace platform::automation::workbook {

Worksheet& Workbook::addSheet(const QString& name)
{
    QString chosen = name;
    if (!isValidSheetName(chosen) || indexOf(chosen) >= 0) {
        int number = sheetCount() + 1;
        do {
            chosen = QStringLiteral("Sheet") + QString::number(number++);
        } while (indexOf(chosen) >= 0);
    }
    m_sheets.push_back(std::make_unique<Worksheet>(chosen));
    return *m_sheets.back();
}

int Workbook::indexOf(const QString& name) const
{
    for (size_t index = 0; index < m_sheets.size(); ++index) {
        if (m_sheets[index]->name().compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

bool Workbook::renameSheet(int index, const QString& name)
{
    if (index < 0 || index >= sheetCount() || !isValidSheetName(name)) {
        return false;
    }
    const int holder = indexOf(name);
    if (holder >= 0 && holder != index) {
        return false;
    }
    sheet(index).setName(name);
    return true;
}

void Workbook::setActiveSheetIndex(int index)
{
    if (index >= 0 && index < sheetCount()) {
        m_activeSheet = index;
    }
}

Worksheet* Workbook::activeSheet()
{
    if (m_sheets.empty()) {
        return nullptr;
    }
    return m_sheets[static_cast<size_t>(m_activeSheet)].get();
}

bool Workbook::isValidSheetName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxSheetNameLength || name.startsWith(u'\'') ||
        name.endsWith(u'\'')) {
        return false;
    }
    for (QChar character : name) {
        if (QStringView(u":\\/?*[]").contains(character) || character.unicode() < 32) {
            return false;
        }
    }
    return true;
}

} // namespace platform::automation::workbook
