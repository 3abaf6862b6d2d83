#include "platform/ui/ScriptReplay.h"

#include "platform/ui/ProgramEnd.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/TestScript.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace platform::ui {
namespace {

void write(const std::string& text)
{
    const char* output = std::getenv("QUELB_SCRIPT_OUTPUT");
    if (output && *output) {
        std::ofstream file(output, std::ios::binary | std::ios::app);
        file << text;
        return;
    }
    std::cout << text << std::flush;
}

// The exit code of a script that failed.
constexpr int kScriptFailed = 2;

std::unique_ptr<TestDriver>& replayingDriver()
{
    static std::unique_ptr<TestDriver> driver;
    return driver;
}

void failScript(const std::string& why)
{
    write("script failed: " + why + "\n");
    // The program ends in order: its windows close and the process returns the code.
    endProgram(kScriptFailed);
}

} // namespace

void ScriptReplay::startFromEnvironment()
{
    const char* script = std::getenv("QUELB_SCRIPT");
    static bool started = false;
    if (started || !script || !*script)
        return;
    started = true;
    // The driver lives as long as the program: it keeps answering boxes after the script. It
    // goes with the application object, before the static objects it uses.
    std::unique_ptr<TestDriver>& driver = replayingDriver();
    driver = std::make_unique<TestDriver>();
    qAddPostRoutine([] { replayingDriver().reset(); });
    driver->setLogSink([](const std::string& line) { write(line + "\n"); });
    try {
        TestScript::load(script, *driver, [](const std::string& dump) { write(dump); });
    } catch (const std::exception& error) {
        failScript(error.what());
        return;
    }
    driver->start([](const std::string& result) {
        if (result.empty()) {
            write("script done\n");
            return;
        }
        failScript(result);
    });
}

} // namespace platform::ui
