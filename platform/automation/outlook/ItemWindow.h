#pragma once

#include "platform/automation/outlook/MailStore.h"

namespace platform::automation::outlook {

// Display: the item in a window of its own that shows and does not edit (header fields, then
// the body). The window closes itself; nothing waits for it.
class ItemWindow
{
public:
    static void show(const StoredItem& item);
};

} // namespace platform::automation::outlook
