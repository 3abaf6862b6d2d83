#include "app/startup/StartFailure.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"

#include <string>

namespace app {

int TellStartFailure(const std::exception_ptr& failure)
{
    using platform::text::w;
    std::string reason = w("неизвестная ошибка");
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        reason = platform::text::utf8ToCp1251(error.what());
    } catch (...) {
    }
    platform::ui::message(w("Программа не может продолжить работу: ") + reason, w("Ошибка"),
                          platform::ui::MessageIcon::Hand);
    return platform::ui::FailedExitCode;
}

} // namespace app
