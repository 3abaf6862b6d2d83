#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/AutomationPath.h"
#include "platform/automation/OleControl.h"
#include "platform/automation/PathTextServer.h"
#include "platform/automation/ServerRegistry.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace officetest {

// What the recording server saw, and what it answers to given reads.
struct Recording
{
    std::vector<std::string> texts; // "read <path>" or "write <path> = <value>"
    std::map<std::string, std::string> answers;
};

// A server that records every text it is sent, as sent, and answers reads from a table.
class RecordingServer : public platform::automation::AutomationObject,
                        public platform::automation::PathTextServer
{
public:
    explicit RecordingServer(std::shared_ptr<Recording> recording) : m_recording(std::move(recording)) {}

    platform::automation::AutomationValue get(std::string_view member,
                                              const platform::automation::Arguments&) override
    {
        unknown(member);
    }
    std::string typeName() const override { return "RecordingServer"; }

    std::string readPath(std::string_view path) override
    {
        m_recording->texts.push_back("read " + std::string(path));
        const auto it = m_recording->answers.find(std::string(path));
        return it == m_recording->answers.end() ? std::string() : it->second;
    }
    bool writePath(std::string_view path, std::string_view value) override
    {
        m_recording->texts.push_back("write " + std::string(path) + " = " + std::string(value));
        return true;
    }

private:
    std::shared_ptr<Recording> m_recording;
};

// A text with everything that once ended an argument early or changed a path: quotes of both
// kinds, a backslash, a parenthesis, a comma, a semicolon, a format sign, blanks and Cyrillic
// (Windows-1251), 200 characters in all.
inline std::string oddText()
{
    const std::string piece = "\"'\\),;%s  \xc7\xe0\xea\xe0\xe7 (1) ";
    std::string text = "x";
    while (text.size() < 199)
        text += piece;
    text.resize(199);
    return text + "y"; // no trailing blank: some operations drop those
}

// The quoted texts among the arguments of a recorded "read <path>" or "write <path> = <value>",
// as the channel's parser reads them; "unparsable: <why>" when the path does not parse.
inline std::vector<std::string> quotedArguments(const std::string& recorded)
{
    using platform::automation::AutomationPath;
    using platform::automation::PathArgument;
    std::string path = recorded.substr(recorded.find(' ') + 1);
    if (recorded.rfind("write ", 0) == 0)
        path = path.substr(0, path.rfind(" = "));
    std::string why;
    const auto parsed = AutomationPath::parse(path, &why);
    if (!parsed)
        return {"unparsable: " + why};
    std::vector<std::string> texts;
    for (const auto& member : parsed->members())
        for (const auto& argument : member.arguments)
            if (argument.kind == PathArgument::Kind::Text)
                texts.push_back(argument.text);
    return texts;
}

// A window with the OLE control as control 1, and the recording server in the place of the
// server named by m_progId ("Excel.Application" unless a fixture says otherwise) for the test's
// duration.
class RecordingTest : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::automation::OleControl::registerKind();
        m_previous = platform::automation::ServerRegistry::registerServer(
            m_progId, [recording = m_recording] {
                return std::make_shared<RecordingServer>(recording);
            });
        platform::ui::WindowDefinition definition;
        definition.kind = "window";
        definition.label = "test";
        platform::ui::ControlDefinition ole;
        ole.number = 1;
        ole.kind = "ole";
        ole.label = "?SMEXCEL";
        definition.controls.push_back(ole);
        m_window = std::make_unique<platform::ui::Window>(definition);
    }
    void TearDown() override
    {
        m_window.reset();
        platform::automation::ServerRegistry::registerServer(m_progId, m_previous);
    }
    platform::automation::OleContainer& ole()
    {
        return *platform::automation::OleControl::containerOf(m_window.get(), 1);
    }
    std::vector<std::string>& texts() { return m_recording->texts; }

    std::string m_progId = "Excel.Application";
    std::shared_ptr<Recording> m_recording = std::make_shared<Recording>();
    std::unique_ptr<platform::ui::Window> m_window;
    platform::automation::ServerRegistry::Factory m_previous;
};

} // namespace officetest
