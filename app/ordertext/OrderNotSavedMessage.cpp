#include "app/ordertext/OrderNotSavedMessage.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"

namespace app {

using platform::text::w;

std::string orderNotSavedMessage(std::string_view fileName, int code, std::string_view reason)
{
    std::string text = w("Не удалось записать файл заказа ") + std::string(fileName);
    if (code != 0)
        text += ": " + platform::storage::errorTextOf(code) + " (" + std::to_string(code) + ")";
    else if (!reason.empty())
        text += ": " + std::string(reason);
    return text + w(". Прежний файл не изменён.");
}

} // namespace app
