#include "app/startup/ProgramEntry.h"

#include "app/startup/CompiledResources.h"
#include "app/startup/MainProgram.h"
#include "app/startup/ProgramModules.h"
#include "app/startup/StartFailure.h"
#include "platform/system/ShutdownSignals.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/SystemColours.h"
#include "app/startup/QtTranslations.h"

#include <QApplication>

#include <cfenv>

namespace app {

int ProgramEntry(int argc, char** argv)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetenv(FE_DFL_ENV);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quelbarto"));
    platform::ui::useSystemColours();
    InstallQtTranslations(application);
    CompiledResources resources;
    resources.provide();
    const platform::system::ProgramRuntime runtime(ProgramModules());
    // A shutdown or a logout closes the program as its "Выход" does.
    const platform::system::ShutdownSignals shutdown(&platform::ui::closeProgram);

    try {
        MainProgram();
    } catch (...) {
        return TellStartFailure(std::current_exception());
    }
    // 0 after the frame closed; the code of a stop box's abort or a failed script otherwise.
    return platform::ui::programExitCode();
}

} // namespace app
