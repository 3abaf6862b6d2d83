#include "platform/ui/PrinterSetup.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

namespace platform::ui {

QPrinter& PrinterSetup::printer()
{
    // Never destroyed: a printer torn down after the application object can crash at exit.
    static QPrinter* const instance = new QPrinter(QPrinter::HighResolution);
    return *instance;
}

PrinterSetup::Handler& PrinterSetup::handler()
{
    static Handler installed;
    return installed;
}

PrinterSetup::Handler PrinterSetup::setHandler(Handler handler)
{
    return std::exchange(PrinterSetup::handler(), std::move(handler));
}

namespace {

// The PDF file forJob chose for the printout under way (empty: none).
QString& fallbackFile()
{
    static QString file;
    return file;
}

} // namespace

bool PrinterSetup::anyPrinterInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QPrinter* PrinterSetup::forJob()
{
    QPrinter& process = printer();
    fallbackFile().clear();
    const bool toFile =
        process.outputFormat() == QPrinter::PdfFormat && !process.outputFileName().isEmpty();
    if (toFile || (anyPrinterInstalled() && !process.printerName().isEmpty()))
        return &process;
    if (anyPrinterInstalled()) {
        // Set up on no printer yet: the system's default one.
        const QPrinterInfo chosen =
            QPrinterInfo::defaultPrinter().isNull()
                ? QPrinterInfo::printerInfo(QPrinterInfo::availablePrinterNames().front())
                : QPrinterInfo::defaultPrinter();
        process.setPrinterName(chosen.printerName());
        if (!process.printerName().isEmpty())
            return &process;
    }
    std::string name = text::w("Заказ.pdf");
    if (!fileDialog(text::w("Принтер не установлен - сохранить документ в файл PDF"), name,
                    text::w("Документ PDF|*.pdf"), FileOption::Save | FileOption::KeepDirectory))
        return nullptr;
    QString file = text::toQString(name);
    if (!file.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    process.setOutputFormat(QPrinter::PdfFormat);
    process.setOutputFileName(file);
    fallbackFile() = file;
    return &process;
}

void PrinterSetup::jobDone()
{
    if (fallbackFile().isEmpty())
        return;
    const QString file = std::exchange(fallbackFile(), QString());
    printer().setOutputFileName(QString());
    printer().setOutputFormat(QPrinter::NativeFormat);
    message(text::w("Документ сохранён в файл ") + text::fromQString(file), text::w("Печать"),
            MessageIcon::Information);
}

bool PrinterSetup::run(QWidget* parent)
{
    if (handler())
        return handler()(printer());
    // With no printer the dialog would offer an empty list and not a word of why.
    if (!anyPrinterInstalled()) {
        message(text::w("Принтер не установлен.\nПечать выполняется в файл PDF: его имя "
                        "спрашивается при каждой печати."),
                text::w("Установки принтера"), MessageIcon::Information);
        return false;
    }
    // Only the printer and its properties are chosen here; what to print is the report's.
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Установки принтера"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    // Qt's print dialog confirms with "Печать", but here it only sets the printer up.
    for (auto* buttons : dialog.findChildren<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
        if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel))
            cancel->setText(QStringLiteral("Отмена"));
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform::ui
