#include "platform/ui/UnusableLetters.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <QString>
#include <QStringList>

namespace platform::ui {

std::string unusableLettersMessage(const std::u32string& letters, bool fileName)
{
    QStringList shown;
    for (const char32_t letter : letters)
        shown.append(QString::fromUcs4(&letter, 1));
    return std::string(fileName ? "Имя файла" : "Текст") +
           " содержит символы, которые программа не может использовать: " +
           shown.join(QStringLiteral(", ")).toStdString();
}

bool refuseUnusableLetters(QStringView text, bool fileName)
{
    const std::u32string outside = text::charactersOutsideCp1251(text);
    if (outside.empty())
        return false;
    messageUnicode(unusableLettersMessage(outside, fileName), text::w("Ошибка"),
                   MessageIcon::Hand);
    return true;
}

} // namespace platform::ui
