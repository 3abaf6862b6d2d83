#include "platform/ui/report/ReportRunner.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/report/ReportItemText.h"

#include <QFileInfo>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <utility>

namespace platform::ui {
namespace {

constexpr double kUnitsPerInch = 1000.0;

// Why a PDF file could not be opened for writing.
std::string unwritable(const QString& file)
{
    const QFileInfo info(file);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return text::w("нет папки ") + text::fromQString(folder.filePath());
    if (info.isDir())
        return text::fromQString(file) + text::w(" - это папка");
    if (info.exists() ? !info.isWritable() : !folder.isWritable())
        return text::w("нет права записи в файл ") + text::fromQString(file);
    return text::w("файл ") + text::fromQString(file) + text::w(" не открывается для записи");
}

} // namespace

ReportRunner::ReportRunner(ReportDefinition definition, ReportValueSource source)
    : m_definition(std::move(definition)), m_source(std::move(source)), m_totals(m_definition),
      m_what(text::w("отчёт"))
{
}

void ReportRunner::setDocument(std::string title, std::string what)
{
    m_title = std::move(title);
    m_what = std::move(what);
}

ReportRunner::~ReportRunner()
{
    // A job dropped half way still closes its device, so the printer is not left waiting.
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void ReportRunner::start(QPrinter& printer)
{
    if (m_state != State::Idle)
        return;
    m_printer = &printer;
    m_state = State::Started;
    const std::string problem = m_definition.problem();
    if (!problem.empty()) {
        // A definition fault is the program's, not the user's: no message box, but no output
        // that pretends to be the report either.
        qWarning("report %s: %s", m_definition.label.c_str(), problem.c_str());
        m_state = State::Failed;
    }
}

void ReportRunner::startPdf(const QString& fileName)
{
    m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_ownPrinter->setOutputFormat(QPrinter::PdfFormat);
    m_ownPrinter->setOutputFileName(fileName);
    m_ownPrinter->setPageSize(QPageSize(QPageSize::A4));
    start(*m_ownPrinter);
}

bool ReportRunner::printDetail()
{
    if (m_state == State::Started && !beginJob())
        return false;
    if (m_state != State::Printing)
        return false;
    m_totals.addDetail(m_source);
    printBand(ReportBandKind::Detail);
    return m_state == State::Printing;
}

ReportOutcome ReportRunner::finish()
{
    switch (m_state) {
    case State::Idle:
    case State::Started:
        m_state = State::Finished;
        return ReportOutcome::Empty;
    case State::Failed:
        return ReportOutcome::Failed;
    case State::Finished:
        return m_page > 0 ? ReportOutcome::Printed : ReportOutcome::Empty;
    case State::Printing:
        break;
    }
    printBand(ReportBandKind::GroupFooter);
    if (m_state != State::Printing)
        return ReportOutcome::Failed;
    endPage();
    if (!m_painter->end()) {
        fail(text::w("задание не удалось завершить"));
        return ReportOutcome::Failed;
    }
    // The job was handed to the print service only now; it may still have refused it.
    if (m_queue) {
        const std::string refusal = m_queue->jobRefusal(text::fromQString(m_printer->docName()));
        if (!refusal.empty()) {
            fail(refusal);
            return ReportOutcome::Failed;
        }
    }
    m_state = State::Finished;
    return ReportOutcome::Printed;
}

bool ReportRunner::beginJob()
{
    const ReportMargins& margins = m_definition.margins;
    m_printer->setPageMargins(QMarginsF(margins.left, margins.top, margins.right, margins.bottom) /
                                  kUnitsPerInch,
                              QPageLayout::Inch);
    if (!m_title.empty())
        m_printer->setDocName(text::toQString(m_title));
    const QString file = m_printer->outputFileName();
    const bool toFile = m_printer->outputFormat() == QPrinter::PdfFormat && !file.isEmpty();
    m_target = toFile ? std::string("PDF") : text::fromQString(m_printer->printerName());
    if (!toFile) {
        // A queue that refuses jobs or is stopped would take the job and print nothing.
        m_queue.emplace(m_printer->printerName().toStdString());
        const std::string refusal = m_queue->refusal();
        if (!refusal.empty()) {
            fail(refusal);
            return false;
        }
        m_queue->noteJobs();
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer)) {
        fail(toFile ? unwritable(file) : text::w("задание не удалось начать"));
        return false;
    }
    const int resolution = m_printer->resolution();
    m_pixelsPerUnit = resolution / kUnitsPerInch;
    const QRect paintArea = m_printer->pageLayout().paintRectPixels(resolution);
    const ReportBand* footer = m_definition.band(ReportBandKind::PageFooter);
    const int pageHeight = static_cast<int>(paintArea.height() / m_pixelsPerUnit);
    m_bodyHeight = pageHeight - (footer ? footer->height : 0);
    m_page = 1;
    m_y = 0;
    m_state = State::Printing;
    printBand(ReportBandKind::GroupHeader);
    return m_state == State::Printing;
}

void ReportRunner::printBand(ReportBandKind kind)
{
    const ReportBand* band = m_definition.band(kind);
    if (!band)
        return;
    const int height = bandPainter().heightOf(*band, textOf());
    // A band taller than a whole page still prints (cut at the page's foot) rather than
    // starting page after page.
    if (m_y > 0 && m_y + height > m_bodyHeight) {
        endPage();
        if (!m_printer->newPage()) {
            fail(text::w("не удалось начать новую страницу"));
            return;
        }
        ++m_page;
        m_y = 0;
    }
    bandPainter().paint(*band, m_y, height, textOf());
    m_y += height;
}

ReportBandPainter ReportRunner::bandPainter() const
{
    return ReportBandPainter(*m_painter, m_definition, m_pixelsPerUnit);
}

ReportBandPainter::TextOf ReportRunner::textOf() const
{
    return [this](const ReportItem& item) {
        return reportItemText(item, m_source, m_totals, m_page);
    };
}

void ReportRunner::endPage()
{
    // The page footer keeps its own height: the page's body was measured above it.
    if (const ReportBand* footer = m_definition.band(ReportBandKind::PageFooter))
        bandPainter().paint(*footer, m_bodyHeight, footer->height, textOf());
}

void ReportRunner::fail(const std::string& reason)
{
    m_state = State::Failed;
    if (m_painter && m_painter->isActive())
        m_painter->end();
    message(text::w("Не удалось напечатать ") + m_what + text::w(" на принтере ") + m_target +
                ": " + reason,
            text::w("Ошибка"), MessageIcon::Hand);
}

} // namespace platform::ui
