#include "app/browsepriosn/BasketRecovery.h"

#include "app/dictionary/DamagedFiles.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <vector>

namespace app {

namespace storage = platform::storage;
using platform::text::w;
using namespace platform::ui;

std::string basketRecoveredMessage(int64_t lines, std::string_view file)
{
    return w("Файл корзины ") + std::string(file) + w(" повреждён.\nВосстановлено строк заказа: ") +
           std::to_string(lines) + ".\n" + w("Повреждённый файл сохранён как ") +
           std::string(file) + ".bad.";
}

std::string basketNotRecoveredMessage(int code, std::string_view file)
{
    return w("Корзина не восстановлена: ") + storage::errorTextOf(code) + " (" +
           std::to_string(code) + w("), файл ") + std::string(file) + ".";
}

bool recoverBasket()
{
    storage::RecordFile& basket = KORZAK();
    const std::string file = basket.diskName();
    const KorzakRecord kept = K();
    std::vector<KorzakRecord> lines;
    // What cannot be read at all gives no lines; the damaged file is still kept.
    basket.salvage([&] { lines.push_back(K()); });
    K() = kept;
    if (replaceDamagedFile(*RelateKORZAK) != storage::Error::None)
        return false; // said

    int code = basket.stream();
    int64_t recovered = 0;
    for (const KorzakRecord& line : lines) {
        if (code != storage::Error::None)
            break;
        K() = line;
        code = basket.add();
        if (code == storage::Error::None)
            ++recovered;
        else if (code == storage::Error::DuplicateKey)
            code = storage::Error::None; // a code read twice: the first line stays
    }
    const int flushed = basket.flush();
    if (code == storage::Error::None)
        code = flushed;
    K() = kept;
    if (code != storage::Error::None) {
        message(basketNotRecoveredMessage(code, file) + "\n" +
                    w("Повреждённый файл сохранён как ") + file + ".bad.",
                w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    message(basketRecoveredMessage(recovered, file), w("Сообщение"), MessageIcon::Exclamation);
    return true;
}

} // namespace app
