// Whole windows of the program, driven offscreen. One application object for the run; the
// window definitions come from the program itself; the system settings profile is a temporary
// file, never the user's.
#include "app/startup/CompiledResources.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("QUELB_SYSTEM_SETTINGS", (profile.path() + QStringLiteral("/system.ini")).toUtf8());
    QApplication application(argc, argv);
    app::CompiledResources resources;
    resources.provide();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
