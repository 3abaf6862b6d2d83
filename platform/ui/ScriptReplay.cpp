#include "platform/ui/ScriptReplay.h"

#include "platform/ui/TestDriver.h"
#include "platform/ui/TestScript.h"

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

} // namespace

void ScriptReplay::startFromEnvironment()
{
    const char* script = std::getenv("QUELB_SCRIPT");
    static bool started = false;
    if (started || !script || !*script)
        return;
    started = true;
    // The driver lives as long as the program: it keeps answering boxes after the script.
    static std::unique_ptr<TestDriver> driver;
    driver = std::make_unique<TestDriver>();
    driver->setLogSink([](const std::string& line) { write(line + "\n"); });
    try {
        TestScript::load(script, *driver, [](const std::string& dump) { write(dump); });
    } catch (const std::exception& error) {
        write(std::string("script failed: ") + error.what() + "\n");
        std::exit(2);
    }
    driver->start([](const std::string& result) {
        if (result.empty()) {
            write("script done\n");
            return;
        }
        write("script failed: " + result + "\n");
        std::exit(2);
    });
}

} // namespace platform::ui
