#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Test-driver scripts: one command a line (format: docs/test-driver.md). Parsing a script
// queues its commands on a driver; a bad line throws std::runtime_error naming the file and
// the line.
namespace platform::ui {

class TestDriver;

class TestScript
{
public:
    // dumpSink receives the state dumps the script asks for.
    static void parse(std::string_view script, std::string_view name, TestDriver& driver,
                      std::function<void(const std::string&)> dumpSink);
    static void load(const std::filesystem::path& file, TestDriver& driver,
                     std::function<void(const std::string&)> dumpSink);
};

} // namespace platform::ui
