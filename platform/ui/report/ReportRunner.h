#pragma once

#include "platform/ui/PrintQueue.h"
#include "platform/ui/report/ReportBandPainter.h"
#include "platform/ui/report/ReportDefinition.h"
#include "platform/ui/report/ReportTotals.h"
#include "platform/ui/report/ReportValue.h"

#include <QString>

#include <memory>
#include <optional>
#include <string>

class QPainter;
class QPrinter;

namespace platform::ui {

enum class ReportOutcome {
    Printed, // the pages went to the printer or file
    Empty,   // no detail was printed, so nothing was: no sheet with only a heading and a 0
    Failed   // the printer or file refused the job (the user was told) or the definition is bad
};

// Prints a report straight to a printer, without preview, band by band as the program walks
// its records: the group header before the first detail, one detail per printDetail(), the
// group footer after the last, the page footer at the foot of every page. A band that does not
// fit above the page footer starts a new page. Totals come from the printed details.
class ReportRunner
{
public:
    ReportRunner(ReportDefinition definition, ReportValueSource source);
    ~ReportRunner();
    ReportRunner(const ReportRunner&) = delete;
    ReportRunner& operator=(const ReportRunner&) = delete;

    // The job's name in the printer's queue and the PDF's title, and what the failure message
    // calls the document ("заказ" in "Не удалось напечатать заказ на принтере ..."), both
    // Windows-1251. Without it the job keeps the printer's document name and is an "отчёт".
    void setDocument(std::string title, std::string what);

    // Prints on a printer the caller keeps alive until finish(); the report's margins are set
    // on it, the paper stays as the printer has it.
    void start(QPrinter& printer);
    // Prints into a PDF file on A4 paper.
    void startPdf(const QString& fileName);

    // Prints the detail band with the source's current values (the group header first, when
    // this is the first detail). False when nothing can be printed any more: the printer
    // failed or the runner was not started.
    bool printDetail();

    // Prints the group footer and the last page footer and ends the job.
    ReportOutcome finish();

    int detailCount() const { return m_totals.detailCount(); }
    int pageCount() const { return m_page; }

private:
    enum class State { Idle, Started, Printing, Failed, Finished };

    bool beginJob();
    void printBand(ReportBandKind kind);
    ReportBandPainter bandPainter() const;
    ReportBandPainter::TextOf textOf() const;
    void endPage();
    // Tells the user that the job failed and why; nothing more is printed.
    void fail(const std::string& reason);

    ReportDefinition m_definition;
    ReportValueSource m_source;
    ReportTotals m_totals;
    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter* m_printer = nullptr;
    std::unique_ptr<QPainter> m_painter;
    std::optional<PrintQueue> m_queue; // the print service's queue the job goes to, if any
    std::string m_title;
    std::string m_what;
    std::string m_target; // the printer's name in messages
    State m_state = State::Idle;
    double m_pixelsPerUnit = 1;
    int m_bodyHeight = 0; // report units above the page footer
    int m_y = 0;          // report units used on the current page
    int m_page = 0;
};

} // namespace platform::ui
