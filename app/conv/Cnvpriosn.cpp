#include "app/conv/Cnvpriosn.h"

#include "app/conv/ConversionFiles.h"
#include "app/conv/PriceConversion.h"
#include "app/conv/ProgressDefinition.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/ProgressWindow.h"

namespace app {

namespace storage = platform::storage;
using platform::text::w;
using namespace platform::ui;
using Result = ConversionOutcome::Result;

namespace {

constexpr const char* kOldPrices = "priosn.tps";
constexpr const char* kNewPrices = "priosn1.tps";
constexpr const char* kMakers = "proiz.tps";
// The manufacturer list is rebuilt beside the old one, which stays until the run succeeds.
constexpr const char* kNewMakers = "proiz1.tps";
// The price list as the program reads it, before it takes the old file's place.
constexpr const char* kFinalPrices = "priosn2.tps";

std::string kept()
{
    return w("Файл ") + kOldPrices + w(" оставлен без изменений.");
}

void closeFiles()
{
    RelatePRIOSN_N->close();
    RelatePRIOSN_S->close();
    RelatePROIZ->close();
}

void removeNewFiles()
{
    storage::removeFile(kNewPrices);
    storage::removeFile(kNewMakers);
    storage::removeFile(kFinalPrices);
}

// The converted items go into the price list's own layout (the weight left 0), so the price
// window and the next load open the file in the same run; a file in the intermediate layout
// would be refused as another version. 0 or the error code.
int writeForTheProgram()
{
    const DiskNameScope final(*AccessPRIOSN, kFinalPrices);
    int code = PRIOSN().create();
    if (code == 0)
        code = PRIOSN_N().open();
    if (code != 0)
        return code;
    code = PRIOSN().open();
    if (code == 0) {
        PRIOSN().stream();
        PRIOSN_N().setFileOrder();
        while (code == 0 && PRIOSN_N().next() == 0) {
            const PriosnNRecord& item = PRN();
            PRIOSN().clearBuffer();
            PR().KOD = item.KOD;
            PR().OBOZ = item.OBOZ;
            PR().NAIM = item.NAIM;
            PR().PRIMEN = item.PRIMEN;
            PR().CENA = item.CENA;
            PR().PROIZV = item.PROIZV;
            PR().GRUP = item.GRUP;
            PR().KOLVUP = item.KOLVUP;
            PR().KODCENA = item.KODCENA;
            PR().KOD2 = item.KOD2;
            code = PRIOSN().add();
        }
        if (code == 0 && storage::errorCode() != storage::Error::RecordNotAvailable)
            code = storage::errorCode();
        if (code == 0)
            code = PRIOSN().flush();
        PRIOSN().close();
    }
    PRIOSN_N().close();
    return code;
}

// The walk read every record when it ended on "no further record"; any other code is a fault.
bool readToTheEnd()
{
    const int code = storage::errorCode();
    return code == 0 || code == storage::Error::RecordNotAvailable;
}

// The release step: the new files replace the old ones only after a complete run.
ConversionOutcome ConvertPriceFinish(const PriceConversion& process, int response)
{
    const bool read = readToTheEnd();
    const std::string readFailure = read ? std::string() : storage::errorText();
    int flushed = PRIOSN_N().flush();
    if (flushed == 0)
        flushed = PROIZ().flush();
    const std::string flushFailure = flushed ? storage::errorText() : std::string();
    closeFiles();

    ConversionOutcome outcome{Result::Converted, {}};
    if (response == Response::Cancelled)
        outcome = {Result::Cancelled, w("Конвертация прайс-листа отменена. ") + kept()};
    else if (!process.failure().empty())
        outcome = {Result::Failed, process.failure() + " " + kept()};
    else if (!read)
        outcome = {Result::Failed, w("Ошибка чтения файла ") + kOldPrices + ": " + readFailure
                                       + ". " + kept()};
    else if (response != Response::Completed)
        outcome = {Result::Failed, w("Конвертация прайс-листа прервана. ") + kept()};
    else if (flushed)
        outcome = {Result::Failed, w("Не удалось записать файл ") + kNewPrices + ": "
                                       + flushFailure + ". " + kept()};
    if (outcome.result != Result::Converted) {
        removeNewFiles();
        return outcome;
    }
    if (writeForTheProgram() != 0) {
        outcome = {Result::Failed, FileFailure(w("записать"), kFinalPrices, kOldPrices)};
        removeNewFiles();
        return outcome;
    }
    // The manufacturers first: a crash between the two renames leaves the old price list,
    // which a second run converts again.
    if (storage::renameFile(kNewMakers, kMakers) != 0
        || storage::renameFile(kFinalPrices, kOldPrices) != 0)
        outcome = {Result::Failed, FileFailure(w("заменить"), kOldPrices, kOldPrices)};
    removeNewFiles();
    return outcome;
}

ConversionOutcome convertPrices()
{
    const DiskNameScope newPrices(*AccessPRIOSN_N, kNewPrices);
    const DiskNameScope oldPrices(*AccessPRIOSN_S, kOldPrices);
    ConversionOutcome outcome = CheckConversionSource(PRIOSN_S(), {AccessPRIOSN_N, AccessPRIOSN},
                                                      w("данные прайс-листа"));
    if (outcome.result != Result::Converted)
        return outcome;

    const DiskNameScope makers(*AccessPROIZ, kNewMakers);
    if (PRIOSN_N().create() != 0 || PROIZ().create() != 0) {
        outcome = {Result::Failed, FileFailure(w("создать"), storage::errorFile(), kOldPrices)};
        removeNewFiles();
        return outcome;
    }
    if (RelatePRIOSN_N->open() != 0 || RelatePRIOSN_S->open() != 0 || RelatePROIZ->open() != 0) {
        outcome = {Result::Failed, FileFailure(w("открыть"), storage::errorFile(), kOldPrices)};
        closeFiles();
        removeNewFiles();
        return outcome;
    }

    PROIZ().clearBuffer();
    P().NAIM = w("  ВСЕ");
    P().M = 0;
    PROIZ().add();
    PRIOSN_N().stream();
    PROIZ().stream();

    ProgressWindow window;
    OpenConversionProgress(window, "quelbarto$quelb019", w("Конвертация прайс-листа..."));
    PRIOSN_S().send("QUICKSCAN=on");
    storage::View view(PRIOSN_S(), -1);
    PriceConversion process(view);
    const int response = process.run(window);
    return ConvertPriceFinish(process, response);
}

} // namespace

ConversionOutcome cnvpriosn()
{
    GlobalErrors().pushProcedure("cnvpriosn");
    const ConversionOutcome outcome = convertPrices();
    GlobalErrors().popProcedure("cnvpriosn");
    return outcome;
}

} // namespace app
