#include "app/conv/RekvConversion.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"

namespace app {

namespace storage = platform::storage;
namespace Level = platform::ui::Level;

RekvConversion::RekvConversion(storage::View& view) : BatchProcess(view)
{
}

int RekvConversion::takeRecord()
{
    const int level = ConvertRekvRecord();
    if (level != Level::Benign)
        m_failure = platform::text::w("Не удалось записать файл ") + storage::errorFile() + ": "
                    + storage::errorText() + ".";
    return level;
}

int ConvertRekvRecord()
{
    const RekvSRecord& old = RES();
    RekvNRecord& requisites = REN();
    requisites.NAIM = old.NAIM;
    requisites.ADR = old.ADR;
    requisites.TEL = old.TEL;
    requisites.EMAIL = old.EMAIL;
    requisites.KONT = old.KONT;
    requisites.BANKNAIM = old.BANKNAIM;
    requisites.BIK = old.BIK;
    requisites.RS = old.RS;
    requisites.KS = old.KS;
    requisites.INN = old.INN;
    requisites.KOMM = old.KOMM;
    requisites.PROXYADR = old.PROXYADR;
    requisites.PROXYPORT = old.PROXYPORT;
    requisites.USERNAME = old.USERNAME;
    requisites.USERPASS = old.USERPASS;
    requisites.FOTOKAT = old.FOTOKAT.view();
    return REKV_N().add() == 0 ? Level::Benign : Level::Fatal;
}

} // namespace app
