// The ui tests need one application object for the whole run, made before any test. Without a
// platform named in the environment (test discovery runs the executable bare) it is offscreen.
#include <QApplication>

#include <gtest/gtest.h>

#ifdef __SANITIZE_ADDRESS__
// Font configuration and the GLib event loop keep allocations to the end; the leak check of a death
// test's child process would otherwise change its exit code.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libglib\n";
}
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
