#include "app/pechzakaz/Pechzakaz.h"

#include "app/dictionary/Dictionary.h"
#include "app/pechzakaz/PrintOrderProcess.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/text/Picture.h"
#include "platform/ui/Clock.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/report/ReportDefinitionReader.h"
#include "platform/ui/report/ReportRunner.h"

#include <QPrinter>
#include <QString>

namespace app {

using namespace platform::ui;
using platform::text::w;

namespace {

// The report's source names and the values they stand for now.
ReportValue orderValue(std::string_view name, const std::string& heading)
{
    const auto text = [](std::string_view value) {
        return ReportValue::ofText(std::string(value));
    };
    if (name == "HEADSTR")
        return text(heading);
    if (name.substr(0, 4) == "REK:") {
        const RekvRecord& r = REK();
        const std::string_view field = name.substr(4);
        if (field == "NAIM")
            return text(r.NAIM.view());
        if (field == "ADR")
            return text(r.ADR.view());
        if (field == "TEL")
            return text(r.TEL.view());
        if (field == "EMAIL")
            return text(r.EMAIL.view());
        if (field == "KONT")
            return text(r.KONT.view());
        if (field == "INN")
            return text(r.INN.view());
        if (field == "BANKNAIM")
            return text(r.BANKNAIM.view());
        if (field == "BIK")
            return text(r.BIK.view());
        if (field == "RS")
            return text(r.RS.view());
        if (field == "KS")
            return text(r.KS.view());
        return {};
    }
    const KorzakRecord& k = K();
    if (name == "K:KOD")
        return ReportValue::ofNumber(k.KOD);
    if (name == "K:OBOZ")
        return text(k.OBOZ.view());
    if (name == "K:NAIM")
        return text(k.NAIM.view());
    if (name == "K:KOL")
        return ReportValue::ofNumber(k.KOL);
    if (name == "K:CENA")
        return ReportValue::ofNumber(k.CENA);
    if (name == "K:SUMMA")
        return ReportValue::ofNumber(k.SUMMA);
    if (name == "K:PROIZV")
        return text(k.PROIZV.view());
    return {};
}

// The lowest and highest code of the basket, for the progress by code.
std::pair<int32_t, int32_t> codeRange()
{
    std::pair<int32_t, int32_t> range{0, 0};
    KORZAK().setKey(K_pokod);
    if (KORZAK().next() == 0)
        range.first = K().KOD;
    KORZAK().setKey(K_pokod);
    if (KORZAK().previous() == 0)
        range.second = K().KOD;
    return range;
}

} // namespace

std::string Pechzakaz::jobTitle()
{
    if (REK().NAIM.isBlank())
        return w("Заказ");
    return w("Заказ от ") + REK().NAIM.str();
}

std::string Pechzakaz::heading()
{
    return w("Заказ  (распечатан ") + platform::text::formatDate(Clock::today(), "d6.") + w(" в ") +
           platform::text::formatTime(Clock::clock(), "T1") + ")";
}

int Pechzakaz::init()
{
    GlobalErrors().pushProcedure("pechzakaz");
    m_filesOpened = true;
    if (RelateKORZAK->open() != 0) {
        m_filesOpened = false;
        message(w("Не удалось открыть корзину заказа."), w("Ошибка"), MessageIcon::Hand);
        return Level::Fatal;
    }
    RelateREKV->open();
    // Without a requisites record the requisites print blank.
    REKV().clearBuffer();
    if (REKV().setFileOrder() != 0 || REKV().next() != 0)
        REKV().clearBuffer();
    m_heading = heading();
    return Level::Benign;
}

void Pechzakaz::kill()
{
    if (m_filesOpened) {
        RelateKORZAK->close();
        RelateREKV->close();
    }
    m_filesOpened = false;
    GlobalErrors().popProcedure("pechzakaz");
}

int Pechzakaz::run()
{
    int response = Response::Cancelled;
    if (init() == Level::Benign) {
        try {
            const auto file = resolveNoCase(resourceFolder() / "windows", "quelb017.json");
            ReportRunner runner(
                ReportDefinitionReader::readFile(QString::fromStdString(file.string()),
                                                 "P1$REPORT"),
                [this](std::string_view name) { return orderValue(name, m_heading); });
            runner.setDocument(jobTitle(), w("заказ"));
            const auto [lowest, highest] = codeRange();
            platform::storage::View view(KORZAK(), K_pokod);
            PrintOrderProcess process(view, runner, lowest, highest);
            ProgressWindow progress;
            progress.setTitle(w("Печать..."));
            progress.setUserText("");
            QPrinter* printer = PrinterSetup::forJob();
            if (printer) {
                runner.start(*printer);
                RelateKORZAK->setQuickScan(true);
                response = process.run(progress);
                RelateKORZAK->setQuickScan(false);
                if (response == Response::Completed) {
                    const ReportOutcome outcome = runner.finish();
                    if (outcome == ReportOutcome::Printed)
                        PrinterSetup::jobDone();
                    // The service may refuse the job only when it is handed over, at the end.
                    if (outcome == ReportOutcome::Failed)
                        response = Response::Cancelled;
                }
            }
        } catch (const DefinitionError& error) {
            message(w(std::string("Не удалось прочитать описание отчёта: ") + error.what()),
                    w("Ошибка"), MessageIcon::Hand);
        }
    }
    kill();
    LastResponse = static_cast<uint8_t>(response);
    return response;
}

void pechzakaz()
{
    Pechzakaz procedure;
    procedure.run();
}

} // namespace app
