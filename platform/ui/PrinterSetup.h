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

    // Shows the set-up dialog on the process printer; true when the user confirmed it.
    static bool run(QWidget* parent = nullptr);

    using Handler = std::function<bool(QPrinter&)>;
    // Installs a handler (an empty one restores the dialog); returns the previous handler.
    static Handler setHandler(Handler handler);

private:
    static Handler& handler();
};

} // namespace platform::ui
