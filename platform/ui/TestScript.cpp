#include "platform/ui/TestScript.h"

#include "platform/ui/MessageBox.h"
#include "platform/ui/TestDriver.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>
#include "platform/text/AsciiChars.h"

namespace platform::ui {
namespace {

// Splits a line into words; a word in double quotes may hold blanks and \" or \\.
std::vector<std::string> wordsOf(std::string_view line, const std::string& where)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    word += line[i + 1];
                    i += 2;
                    continue;
                }
                if (line[i] == '"') {
                    closed = true;
                    ++i;
                    break;
                }
                word += line[i++];
            }
            if (!closed)
                throw std::runtime_error(where + ": a quoted text is not closed");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

unsigned buttonOf(const std::string& name, const std::string& where)
{
    static const char* const names[] = {"ok",    "yes",    "no",     "abort",
                                        "retry", "ignore", "cancel", "help"};
    std::string lower = name;
    for (char& c : lower)
        c = static_cast<char>(platform::text::asciiLower(c));
    for (unsigned i = 0; i < 8; ++i)
        if (lower == names[i])
            return 1u << i;
    unsigned bit = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), bit);
    if (ec == std::errc() && end == name.data() + name.size() && bit && (bit & (bit - 1)) == 0 &&
        bit <= 128)
        return bit;
    throw std::runtime_error(where + ": \"" + name + "\" is not a message-box button");
}

int numberOf(const std::string& text, const std::string& where)
{
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size())
        throw std::runtime_error(where + ": \"" + text + "\" is not a number");
    return n;
}

} // namespace

void TestScript::parse(std::string_view script, std::string_view name, TestDriver& driver,
                       std::function<void(const std::string&)> dumpSink)
{
    std::istringstream lines{std::string(script)};
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string where = std::string(name) + ":" + std::to_string(lineNumber);
        const std::vector<std::string> w = wordsOf(line, where);
        if (w.empty() || w[0].starts_with("#"))
            continue;
        const std::string& command = w[0];
        auto need = [&](std::size_t count) {
            if (w.size() != count)
                throw std::runtime_error(where + ": \"" + command + "\" takes " +
                                         std::to_string(count - 1) + " argument(s)");
        };
        if (command == "press") {
            need(2);
            driver.press(w[1]);
        } else if (command == "type") {
            need(3);
            driver.type(w[1], w[2]);
        } else if (command == "key") {
            if (w.size() == 2)
                driver.key("", w[1]);
            else {
                need(3);
                driver.key(w[1], w[2]);
            }
        } else if (command == "menu") {
            need(2);
            driver.menu(w[1]);
        } else if (command == "select") {
            need(3);
            driver.select(w[1], numberOf(w[2], where));
        } else if (command == "drag" && w.size() >= 2 && w[1] == "border") {
            need(5);
            driver.dragColumnBorder(w[2], numberOf(w[3], where), numberOf(w[4], where));
        } else if (command == "title" && w.size() >= 2 && w[1] == "button") {
            need(3);
            driver.titleButton(w[2]);
        } else if (command == "close") {
            need(1);
            driver.close();
        } else if (command == "answer" && w.size() >= 2 && w[1] == "message") {
            need(3);
            driver.answerMessage(buttonOf(w[2], where));
        } else if (command == "answer" && w.size() >= 2 && (w[1] == "file" || w[1] == "folder")) {
            need(3);
            std::optional<std::string> answer;
            if (w[2] != "cancel")
                answer = w[2];
            if (w[1] == "file")
                driver.answerFile(answer);
            else
                driver.answerFolder(answer);
        } else if (command == "wait" && w.size() >= 2 && w[1] == "idle") {
            if (w.size() > 3)
                throw std::runtime_error(where + ": \"wait idle\" takes a timeout at most");
            driver.waitIdle(w.size() == 3 ? numberOf(w[2], where) : 5000);
        } else if (command == "wait" && w.size() >= 3 && (w[1] == "open" || w[1] == "close")) {
            if (w.size() > 4)
                throw std::runtime_error(where +
                                         ": \"wait\" takes open|close, a title and a timeout");
            const int timeout = w.size() == 4 ? numberOf(w[3], where) : 5000;
            if (w[1] == "open")
                driver.waitOpen(w[2], timeout);
            else
                driver.waitClose(w[2], timeout);
        } else if (command == "dump") {
            need(1);
            driver.dump(dumpSink);
        } else {
            throw std::runtime_error(where + ": unknown command \"" + command + "\"");
        }
    }
}

void TestScript::load(const std::filesystem::path& file, TestDriver& driver,
                      std::function<void(const std::string&)> dumpSink)
{
    std::ifstream input(file, std::ios::binary);
    if (!input)
        throw std::runtime_error(file.string() + ": cannot be read");
    std::ostringstream content;
    content << input.rdbuf();
    parse(content.str(), file.string(), driver, std::move(dumpSink));
}

} // namespace platform::ui
