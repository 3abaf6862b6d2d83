#include "app/conv/PriceConversion.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"

namespace app {

namespace storage = platform::storage;
namespace Level = platform::ui::Level;

namespace {

// Leading blanks moved to the end: the name sorts by its first letter.
std::string leftJustified(std::string_view name)
{
    const std::size_t first = name.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(name.substr(first));
}

} // namespace

PriceConversion::PriceConversion(storage::View& view) : BatchProcess(view)
{
}

int PriceConversion::takeRecord()
{
    const int level = ConvertPriceRecord(m_blankMakerAdded);
    if (level != Level::Benign)
        m_failure = platform::text::w("Не удалось записать файл ") + storage::errorFile() + ": "
                    + storage::errorText() + ".";
    return level;
}

int ConvertPriceRecord(bool& blankMakerAdded)
{
    const PriosnSRecord& old = PRS();
    PriosnNRecord& item = PRN();
    item.KOD = old.KOD;
    item.OBOZ = old.OBOZ;
    item.NAIM = old.NAIM;
    item.PRIMEN = old.PRIMEN.view();
    item.CENA = old.CENA;
    item.PROIZV = old.PROIZV;
    item.GRUP = old.GRUP;
    item.KOLVUP = old.KOLVUP;
    item.KODCENA = old.KODCENA;
    item.KOD2 = item.KOD;
    if (PRIOSN_N().add() != 0)
        return Level::Fatal;

    // A name already there is refused by the unique name key, which keeps each once; a blank
    // name is outside that key, so it is added once by hand.
    const std::string maker = leftJustified(item.PROIZV.view());
    if (maker.empty()) {
        if (blankMakerAdded)
            return Level::Benign;
        blankMakerAdded = true;
    }
    P().NAIM = maker;
    P().M = 0;
    const int code = PROIZ().add();
    if (code != 0 && code != storage::Error::DuplicateKey)
        return Level::Fatal;
    return Level::Benign;
}

} // namespace app
