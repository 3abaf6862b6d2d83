#include "app/ordertext/OrderTextWrite.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/BasketOrder.h"
#include "app/ordertext/OrderNotSavedMessage.h"
#include "app/ordertext/OrderTextFormat.h"
#include "platform/storage/ByteFile.h"
#include "platform/storage/FileReplacement.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <string>

namespace app {
namespace {

using platform::text::w;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

int OrderTextLine(platform::storage::ByteFile& file, std::string_view line)
{
    int failed = 0;
    for (const char c : orderFileLine(line)) {
        file.setByte(static_cast<uint8_t>(c));
        const int code = file.add();
        if (code != 0 && failed == 0)
            failed = code;
    }
    return failed;
}

int writeOrderTextFile(std::string_view fileName, std::string_view comment, int basketSortTab)
{
    // The order goes to a file beside the old one, which it replaces only when whole: a full
    // disk or a killed program leaves the previous order as it was.
    platform::storage::FileReplacement replacement(trimmed(fileName));
    platform::storage::ByteFile file(1);
    file.setDiskName(replacement.temporaryName());
    if (const int code = file.create())
        return code;
    if (const int code = file.open(0x22))
        return code;

    int failed = 0;
    const auto note = [&failed](int code) {
        if (code != 0 && failed == 0)
            failed = code;
    };
    for (const std::string& line : orderHeaderLines(REK(), comment))
        note(OrderTextLine(file, line));
    setBasketOrder(basketSortTab);
    while (failed == 0 && KORZAK().next() == 0)
        note(OrderTextLine(file, orderBasketLine(K())));
    note(file.close());
    if (failed != 0)
        return failed;
    return replacement.commit();
}

bool OrderTextWrite(std::string_view fileName, std::string_view comment, int basketSortTab)
{
    using platform::ui::MessageIcon;
    const int code = writeOrderTextFile(fileName, comment, basketSortTab);
    if (code != 0) {
        platform::ui::message(orderNotSavedMessage(trimmed(fileName), code), w("Ошибка"),
                              MessageIcon::Hand);
        return false;
    }
    platform::ui::message(w("Файл заказа сформирован."), w("Сообщение"));
    return true;
}

} // namespace app
