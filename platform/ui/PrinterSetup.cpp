#include "platform/ui/PrinterSetup.h"

#include <QPrintDialog>
#include <QPrinter>

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

bool PrinterSetup::run(QWidget* parent)
{
    if (handler())
        return handler()(printer());
    // Only the printer and its properties are chosen here; what to print is the report's.
    QPrintDialog dialog(&printer(), parent);
    dialog.setWindowTitle(QStringLiteral("Установки принтера"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform::ui
