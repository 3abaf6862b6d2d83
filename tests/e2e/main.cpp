// Whole windows of the program, driven offscreen. One application object for the run; the
// window definitions come from the program itself; the system settings profile is a temporary
// file, never the user's.
#include "app/startup/CompiledResources.h"
#include "platform/ui/ThreadRegistry.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir profile;
    // The windows are tested on a screen of a common desktop's size, where the frame opens at
    // the size of its definition; the offscreen platform's own screen is smaller. Small
    // screens have their tests of their own (tests/screen).
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    if (platform == QLatin1String("offscreen")) {
        const QString screens = profile.filePath(QStringLiteral("screens.json"));
        QFile file(screens);
        if (file.open(QIODevice::WriteOnly))
            file.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1280, )"
                       R"("height": 1024, "logicalDpi": 96}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", (QStringLiteral("offscreen:configfile=") + screens).toUtf8());
    }
    qputenv("QUELB_SYSTEM_SETTINGS", (profile.path() + QStringLiteral("/system.ini")).toUtf8());
    QApplication application(argc, argv);
    app::CompiledResources resources;
    resources.provide();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // A window whose release was still queued must not outlive the application object.
    platform::ui::ThreadRegistry::runQueuedReleases();
    return result;
}
