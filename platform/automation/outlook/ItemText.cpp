#include "platform/automation/outlook/ItemText.h"

#include "platform/automation/outlook/ItemProperties.h"
#include "platform/text/Cp1251.h"

#include <QStringList>

namespace platform::automation::outlook {

using platform::text::toQString;

ItemText ItemText::of(const StoredItem& item)
{
    static const std::pair<const char*, QString> labelled[] = {
        {"From", QStringLiteral("От")},
        {"To", QStringLiteral("Кому")},
        {"CC", QStringLiteral("Копия")},
        {"BCC", QStringLiteral("Скрытая копия")},
        {"SentOn", QStringLiteral("Отправлено")},
        {"Start", QStringLiteral("Начало")},
        {"End", QStringLiteral("Окончание")},
        {"DueDate", QStringLiteral("Срок")},
        {"FullName", QStringLiteral("Имя")},
        {"CompanyName", QStringLiteral("Организация")},
        {"Email1Address", QStringLiteral("Эл. почта")},
    };
    ItemText text;
    const auto subject = item.properties.find("Subject");
    text.title = subject != item.properties.end() && !subject->second.empty()
                     ? toQString(subject->second)
                     : QStringLiteral("(без темы)");
    for (const auto& [name, label] : labelled) {
        const auto found = item.properties.find(name);
        if (found != item.properties.end() && !found->second.empty())
            text.fields.emplace_back(label, toQString(found->second));
    }
    QStringList names;
    for (const StoredAttachment& attachment : item.attachments)
        names << toQString(attachment.fileName);
    if (!names.isEmpty())
        text.fields.emplace_back(QStringLiteral("Вложения"), names.join(QStringLiteral("; ")));
    const auto body = item.properties.find("Body");
    if (body != item.properties.end())
        text.body = toQString(body->second);
    return text;
}

} // namespace platform::automation::outlook
