#include "platform/ui/WindowErrorReporter.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

namespace platform::ui {

void WindowErrorReporter::reportFileError(int code, std::string_view file, std::string_view action)
{
    std::string text = storage::errorTextOf(code) + " (" + std::to_string(code) + ")\n" +
                       std::string(action) + " " + std::string(file);
    const std::string procedure = currentProcedure();
    if (!procedure.empty())
        text += "\n" + procedure;
    message(text, text::w("Ошибка"), MessageIcon::Hand);
}

} // namespace platform::ui
