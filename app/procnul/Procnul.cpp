#include "app/procnul/Procnul.h"

#include "app/dictionary/Dictionary.h"
#include "app/procnul/MarkClearing.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFileManager.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/ProgressWindow.h"

namespace app {

using namespace platform::ui;
namespace storage = platform::storage;
using platform::text::w;

namespace {

struct MarkClearingJob
{
    const char* procedure;
    const char* module;
    RecordFile& (*file)();
    FileRelation* relation;
    MarkClearing::RecordHandler handler;
};

// The progress window takes its size and places from its definition; without the definition
// it keeps its own layout.
void applyDefinition(ProgressWindow& window, const char* module)
{
    try {
        window.takeDefinition(loadWindowDefinition(module, "P1$PROGRESSWINDOW"));
    } catch (const DefinitionError&) {
    }
}

int runMarkClearing(const MarkClearingJob& job)
{
    // A copy that only reads the files leaves the marks to the copy that writes them; a program
    // that is being ended asks nothing more.
    if (storage::RecordFileManager::readOnly() || programEnding())
        return Response::Cancelled;
    auto& reporter = GlobalErrors();
    reporter.pushProcedure(job.procedure);
    PendingRequest = 0;
    LastResponse = 0;

    const bool opened = job.relation && job.relation->open() == 0;

    ProgressWindow window;
    applyDefinition(window, job.module);
    storage::View view(job.file(), -1);
    MarkClearing process(view, job.handler);
    process.setErrorReporter(&reporter);
    window.setTitle(w("Processing Records"));
    window.setPercent(0);
    window.setUserText(w("Закрытие файлов"));
    job.file().send("QUICKSCAN=on");

    // One run of writes for the whole batch: a commit per record made every record cost a sync
    // of the file, and the program's end took minutes after a large load. "Отменить" keeps the
    // records done so far, as the flush commits them.
    const bool streaming = opened && job.file().stream() == 0;
    const int response = process.run(window);
    if (streaming) {
        const int flushed = job.file().flush();
        if (flushed != 0 && !process.failed())
            message(recordNotUpdatedMessage(flushed, job.file().diskName()), w("Ошибка"),
                    MessageIcon::Hand);
    }

    if (opened)
        job.relation->close();
    reporter.popProcedure(job.procedure);
    return response;
}

// Every record is written, whatever its mark held: a mark of 2 or 255 is cleared as well.
int clearMark(MarkClearing& process, RecordFile& file, uint8_t& mark)
{
    mark = 0;
    if (file.put() != 0) {
        message(recordNotUpdatedMessage(storage::errorCode(), storage::errorFile()), w("Ошибка"),
                MessageIcon::Hand);
        process.noteFailure();
        process.setResponse(Response::Completed);
        return Level::Fatal;
    }
    return Level::Benign;
}

} // namespace

std::string recordNotUpdatedMessage(int code, std::string_view file)
{
    return w("Запись не обновлена: отметка выбора не снята.\n") + storage::errorTextOf(code) +
           " (" + std::to_string(code) + ")\n" + w("Файл ") + std::string(file);
}

int ClearApplicabilityMark(MarkClearing& process)
{
    return clearMark(process, SPRPR(), SP().M);
}

int ClearManufacturerMark(MarkClearing& process)
{
    return clearMark(process, PROIZ(), P().M);
}

int procnul1()
{
    return runMarkClearing(
        {"procnul1", "quelbarto$quelb026", SPRPR, RelateSPRPR, ClearApplicabilityMark});
}

int procnul2()
{
    return runMarkClearing(
        {"procnul2", "quelbarto$quelb027", PROIZ, RelatePROIZ, ClearManufacturerMark});
}

} // namespace app
