#pragma once

#include <functional>

class QPrinter;
class QWidget;

// The process-wide printer and its set-up dialog: the printer, paper and orientation chosen
// there are the ones every report prints with. A handler can stand in for the dialog (the test
// driver answers it this way).
namespace platform::ui {

class PrinterSetup
{
public:
    // Created on first use; lives until the process ends.
    static QPrinter& printer();

    // Shows the set-up dialog on the process printer; true when the user confirmed it. With
    // no printer installed it says so, and that printing goes to a PDF file, instead.
    static bool run(QWidget* parent = nullptr);

    // The process printer made ready for one printout; every printing path starts here. It is
    // the printer set up, or one already writing to a PDF file; where there is no printer at
    // all, the user chooses a PDF file to print to instead. nullptr when they cancel that.
    static QPrinter* forJob();
    // Ends a printout started with forJob: when it went to a PDF file chosen there, the user is
    // told where, and the printer goes back to printing on paper.
    static void jobDone();
    // True when some printer is installed on the system.
    static bool anyPrinterInstalled();

    using Handler = std::function<bool(QPrinter&)>;
    // Installs a handler (an empty one restores the dialog); returns the previous handler.
    static Handler setHandler(Handler handler);

private:
    static Handler& handler();
};

} // namespace platform::ui
