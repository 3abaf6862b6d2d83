#include "app/startup/ProgramEntry.h"

#include "app/startup/CompiledResources.h"
#include "app/startup/MainProgram.h"
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
    InstallQtTranslations(application);
    CompiledResources resources;
    resources.provide();

    MainProgram();
    return 0;
}

} // namespace app
