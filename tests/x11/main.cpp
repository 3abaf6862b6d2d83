// Tests against a real X server: one Xvfb of their own with two keyboard layouts, the program's
// windows on the xcb platform; the small-screen tests start further servers and run this
// program again on each. Without Xvfb the tests are skipped.
#include "XServer.h"
#include "X11Session.h"

#include "app/startup/CompiledResources.h"
#include "platform/ui/ThreadRegistry.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

// The xcb platform's session-bus client keeps a buffer until the process ends; under the leak
// checker that is not the program's leak.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (as ctest does to find them) starts no server: InitGoogleTest has taken
    // the flag out of argv, so it is read from the flags.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    // A child started by a small-screen test runs on that test's server.
    x11test::XServer server;
    if (!x11test::screenChild() && !server.start({"us", "ru"})) {
        x11test::skipReason() = server.why();
        return RUN_ALL_TESTS();
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    app::CompiledResources resources;
    resources.provide();
    x11test::serverRunning() = true;
    const int result = RUN_ALL_TESTS();
    // A window whose release was still queued must not outlive the application object.
    platform::ui::ThreadRegistry::runQueuedReleases();
    return result;
}
