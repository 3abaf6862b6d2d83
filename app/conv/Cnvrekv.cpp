#include "app/conv/Cnvrekv.h"

#include "app/conv/ConversionFiles.h"
#include "app/conv/ProgressDefinition.h"
#include "app/conv/RekvConversion.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/ProgressWindow.h"

#include <type_traits>

namespace app {

namespace storage = platform::storage;
using platform::text::w;
using namespace platform::ui;
using Result = ConversionOutcome::Result;

namespace {

constexpr const char* kOldRequisites = "rekv.tps";
constexpr const char* kNewRequisites = "rekv1.tps";
// The requisites as the program reads them, before they take the old file's place.
constexpr const char* kFinalRequisites = "rekv2.tps";

static_assert(std::is_same_v<RekvRecord, RekvNRecord>);

std::string kept()
{
    return w("Файл ") + kOldRequisites + w(" оставлен без изменений.");
}

void removeNewFiles()
{
    storage::removeFile(kNewRequisites);
    storage::removeFile(kFinalRequisites);
}

// REKV_N holds REKV's fields under names of its own, and a file keeps the names it was written
// with; the program reads the requisites through REKV, so the file that replaces the old one
// is written in REKV's own layout. 0 or the error code.
int writeForTheProgram()
{
    const DiskNameScope final(*AccessREKV, kFinalRequisites);
    int code = REKV().create();
    if (code == 0)
        code = REKV_N().open();
    if (code != 0)
        return code;
    code = REKV().open();
    if (code == 0) {
        REKV_N().setFileOrder();
        while (code == 0 && REKV_N().next() == 0) {
            REK() = REN();
            code = REKV().add();
        }
        if (code == 0 && storage::errorCode() != storage::Error::RecordNotAvailable)
            code = storage::errorCode();
        REKV().close();
    }
    REKV_N().close();
    return code;
}

// The release step: the new file replaces the old one only after a complete run.
ConversionOutcome ConvertRekvFinish(const RekvConversion& process, int response)
{
    const int walkEnd = storage::errorCode();
    const bool read = walkEnd == 0 || walkEnd == storage::Error::RecordNotAvailable;
    const std::string readFailure = read ? std::string() : storage::errorText();
    RelateREKV_N->close();
    RelateREKV_S->close();

    ConversionOutcome outcome{Result::Converted, {}};
    if (response == Response::Cancelled)
        outcome = {Result::Cancelled, w("Конвертация реквизитов отменена. ") + kept()};
    else if (!process.failure().empty())
        outcome = {Result::Failed, process.failure() + " " + kept()};
    else if (!read)
        outcome = {Result::Failed, w("Ошибка чтения файла ") + kOldRequisites + ": " + readFailure
                                       + ". " + kept()};
    else if (response != Response::Completed)
        outcome = {Result::Failed, w("Конвертация реквизитов прервана. ") + kept()};
    else if (writeForTheProgram() != 0)
        outcome = {Result::Failed, FileFailure(w("записать"), kFinalRequisites, kOldRequisites)};
    else if (storage::renameFile(kFinalRequisites, kOldRequisites) != 0)
        outcome = {Result::Failed, FileFailure(w("заменить"), kOldRequisites, kOldRequisites)};
    removeNewFiles();
    return outcome;
}

ConversionOutcome convertRequisites()
{
    const DiskNameScope newRequisites(*AccessREKV_N, kNewRequisites);
    const DiskNameScope oldRequisites(*AccessREKV_S, kOldRequisites);
    ConversionOutcome outcome =
        CheckConversionSource(REKV_S(), {AccessREKV_N, AccessREKV}, w("реквизиты"));
    if (outcome.result != Result::Converted)
        return outcome;

    if (REKV_N().create() != 0) {
        outcome = {Result::Failed, FileFailure(w("создать"), kNewRequisites, kOldRequisites)};
        removeNewFiles();
        return outcome;
    }
    if (RelateREKV_N->open() != 0 || RelateREKV_S->open() != 0) {
        outcome = {Result::Failed, FileFailure(w("открыть"), storage::errorFile(), kOldRequisites)};
        RelateREKV_N->close();
        RelateREKV_S->close();
        removeNewFiles();
        return outcome;
    }

    ProgressWindow window;
    OpenConversionProgress(window, "quelbarto$quelb020", w("Ковертация реквизитов"));
    REKV_S().send("QUICKSCAN=on");
    storage::View view(REKV_S(), -1);
    RekvConversion process(view);
    const int response = process.run(window);
    return ConvertRekvFinish(process, response);
}

} // namespace

ConversionOutcome cnvrekv()
{
    GlobalErrors().pushProcedure("cnvrekv");
    const ConversionOutcome outcome = convertRequisites();
    GlobalErrors().popProcedure("cnvrekv");
    return outcome;
}

} // namespace app
