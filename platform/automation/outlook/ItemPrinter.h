#pragma once

#include "platform/automation/outlook/MailStore.h"

class QPrinter;

namespace platform::automation::outlook {

// PrintOut: the item's header fields and body on the program's printer, page after page.
class ItemPrinter
{
public:
    static void print(const StoredItem& item);
    // The printer items go to: the one place that chooses it.
    static QPrinter& printer();
};

} // namespace platform::automation::outlook
