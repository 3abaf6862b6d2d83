#pragma once

#include "platform/automation/outlook/MailStore.h"

#include <QString>

#include <utility>
#include <vector>

namespace platform::automation::outlook {

// What the item window and the printout show of an item: its title, its filled properties in
// a fixed order with Russian labels, the attachments' names and the body.
struct ItemText
{
    QString title;
    std::vector<std::pair<QString, QString>> fields;
    QString body;

    static ItemText of(const StoredItem& item);
};

} // namespace platform::automation::outlook
