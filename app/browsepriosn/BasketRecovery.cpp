#include "app/browsepriosn/BasketRecovery.h"

#include "app/dictionary/DamagedFiles.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"


namespace app {

namespace storage = platform::storage;
using platform::text::w;
using namespace platform::ui;

std::string basketRecoveredMessage(int64_t lines, std::string_view file, std::string_view keptAs)
{
    return w("Файл корзины ") + std::string(file) + w(" повреждён.\nВосстановлено строк заказа: ") +
           std::to_string(lines) + ".\n" + w("Повреждённый файл сохранён как ") +
           std::string(keptAs) + ".";
}

std::string basketNotRecoveredMessage(int code, std::string_view file)
{
    return w("Корзина не восстановлена: ") + storage::errorTextOf(code) + " (" +
           std::to_string(code) + w("), файл ") + std::string(file) + ".";
}

bool recoverBasket()
{
    const std::string file = KORZAK().diskName();
    int64_t recovered = 0;
    std::string keptAs;
    const int code = replaceKeepingRecords(*RelateKORZAK, recovered, keptAs);
    if (keptAs.empty())
        return false; // said
    if (code != storage::Error::None) {
        message(basketNotRecoveredMessage(code, file) + "\n" +
                    w("Повреждённый файл сохранён как ") + keptAs + ".",
                w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    message(basketRecoveredMessage(recovered, file, keptAs), w("Сообщение"),
            MessageIcon::Exclamation);
    return true;
}

} // namespace app
