#include "app/ordertext/ImportOrderFromText.h"

#include "app/browsepriosn/BasketOperations.h"
#include "app/dictionary/Dictionary.h"
#include "app/ordertext/OrderTextFormat.h"
#include "platform/storage/ByteFile.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <string>

namespace app {
namespace {

using platform::text::w;

// Read in chunks: the file holds bytes only, so the chunk size does not change what is read.
constexpr std::size_t kChunk = 64 * 1024;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

int readOrderTextFile(std::string_view fileName, std::vector<KorzakRecord>& lines)
{
    lines.clear();
    platform::storage::ByteFile file(kChunk);
    file.setDiskName(std::string(trimmed(fileName)));
    if (const int code = file.open(0x20)) // reading only; nobody writes it meanwhile
        return code;
    std::string bytes;
    file.setToStart();
    int code = 0;
    while ((code = file.next()) == 0)
        bytes.append(file.recordView());
    file.close();
    if (code != platform::storage::Error::RecordNotAvailable)
        return code;
    for (const std::string& line : orderFileLines(bytes))
        if (auto record = orderLineRecord(line))
            lines.push_back(*record);
    return 0;
}

int replaceBasket(const std::vector<KorzakRecord>& lines)
{
    RecordFile& basket = KORZAK();
    basket.stream();
    int failed = basket.empty();
    for (const KorzakRecord& line : lines) {
        K() = line;
        K().UPAK = listedPackSize(line.KOD);
        const int code = basket.add();
        if (code != 0 && code != platform::storage::Error::DuplicateKey && failed == 0)
            failed = code;
    }
    const int flushed = basket.flush();
    return failed != 0 ? failed : flushed;
}

bool ImportOrderFromText(std::string_view fileName)
{
    using platform::ui::MessageIcon;
    std::vector<KorzakRecord> lines;
    const int code = readOrderTextFile(fileName, lines);
    if (code != 0) {
        const std::string why = (code == platform::storage::Error::FileNotFound ||
                                 code == platform::storage::Error::PathNotFound)
                                    ? w("Файл заказа не найден: ")
                                    : w("Не удалось прочитать файл заказа ");
        platform::ui::message(why + std::string(trimmed(fileName)) + w(". Заказ не изменён."),
                              w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    return takeOrderLines(lines, fileName);
}

bool takeOrderLines(const std::vector<KorzakRecord>& lines, std::string_view fileName)
{
    using platform::ui::MessageIcon;
    if (lines.empty()) {
        platform::ui::message(w("В файле ") + std::string(trimmed(fileName)) +
                                  w(" нет строк заказа. Заказ не изменён."),
                              w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    if (const int failed = replaceBasket(lines)) {
        platform::ui::message(w("Не удалось записать заказ в корзину (ошибка ") +
                                  std::to_string(failed) + ").",
                              w("Ошибка"), MessageIcon::Hand);
        return false;
    }
    return true;
}

} // namespace app
