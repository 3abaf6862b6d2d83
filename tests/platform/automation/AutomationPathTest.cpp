#include "platform/automation/AutomationPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::automation::AutomationPath;
using Kind = platform::automation::PathArgument::Kind;

AutomationPath parsed(std::string_view text)
{
    std::string error;
    const auto path = AutomationPath::parse(text, &error);
    EXPECT_TRUE(path) << text << ": " << error;
    return path.value_or(AutomationPath());
}

TEST(AutomationPath, DottedMembersWithAndWithoutArguments)
{
    const auto path = parsed("Selection.Font.Bold");
    ASSERT_EQ(path.members().size(), 3u);
    EXPECT_EQ(path.members()[2].name, "Bold");
    EXPECT_FALSE(path.members()[0].hasParentheses);
    EXPECT_FALSE(path.reference());

    const auto call = parsed("ActiveChart.Axes(2,1).AxisTitle.Characters.Text");
    ASSERT_EQ(call.members().size(), 5u);
    ASSERT_EQ(call.members()[1].arguments.size(), 2u);
    EXPECT_EQ(call.members()[1].arguments[1].kind, Kind::Number);
    EXPECT_EQ(call.members()[1].arguments[1].number, 1);
    EXPECT_TRUE(parsed("FindNext()").members()[0].hasParentheses);
    EXPECT_TRUE(parsed("FindNext()").members()[0].arguments.empty());
}

TEST(AutomationPath, QuotedTextsKeepEverythingInside)
{
    const auto path = parsed("Range(\"A1:G1\").Select");
    EXPECT_EQ(path.members()[0].arguments[0].kind, Kind::Text);
    EXPECT_EQ(path.members()[0].arguments[0].text, "A1:G1");
    const auto filter = parsed("`3.Find(\"[Subject] = 'a, (b)'\")");
    EXPECT_EQ(filter.members()[0].arguments[0].text, "[Subject] = 'a, (b)'");
    EXPECT_EQ(parsed("Workbooks.Open(\"\")").members()[1].arguments[0].kind, Kind::Text);
    EXPECT_EQ(parsed("X(\"say \"\"hi\"\"\")").members()[0].arguments[0].text, "say \"hi\"");
    const std::string cyrillic = "Sheets(\"\xc7\xe0\xea\xe0\xe7\").Select";
    EXPECT_EQ(parsed(cyrillic).members()[0].arguments[0].text, "\xc7\xe0\xea\xe0\xe7");
}

TEST(AutomationPath, EmptyPlacesNumbersNamesAndBareTexts)
{
    const auto print = parsed("ActiveSheet.PrintOut(,,0,,,,,)");
    const auto& arguments = print.members()[1].arguments;
    ASSERT_EQ(arguments.size(), 8u);
    EXPECT_EQ(arguments[0].kind, Kind::Empty);
    EXPECT_EQ(arguments[2].kind, Kind::Number);
    EXPECT_EQ(arguments[7].kind, Kind::Empty);
    const auto save = parsed("Application.ActiveWorkbook.SaveAs(\"c.xls\",-4143,,1,,0,1)");
    EXPECT_EQ(save.members()[2].arguments[1].number, -4143);
    EXPECT_EQ(save.members()[2].arguments[2].kind, Kind::Empty);
    EXPECT_EQ(parsed("Borders(xlEdgeRight).LineStyle").members()[0].arguments[0].kind, Kind::Name);
    const auto bare = parsed("`7.SaveAs(C:\\a\\b.msg,3)");
    EXPECT_EQ(bare.members()[0].arguments[0].kind, Kind::Bare);
    EXPECT_EQ(bare.members()[0].arguments[0].text, "C:\\a\\b.msg");
    EXPECT_EQ(parsed("Location(2, \"Sheet1\")").members()[0].arguments[1].text, "Sheet1");
    EXPECT_EQ(parsed("Run(Macro( 1 ) )").members()[0].arguments[0].text, "Macro( 1 )");
}

TEST(AutomationPath, ReferenceHeadsWithBlanksAfterThem)
{
    const auto item = parsed("`12                .Subject");
    EXPECT_EQ(item.reference(), 12);
    ASSERT_EQ(item.members().size(), 1u);
    EXPECT_EQ(item.members()[0].name, "Subject");
    const auto alone = parsed("`4   ");
    EXPECT_EQ(alone.reference(), 4);
    EXPECT_TRUE(alone.members().empty());
    EXPECT_EQ(parsed("  Selection . Font . Bold  ").members().size(), 3u);
}

TEST(AutomationPath, MalformedTextsAreRefusedWithAReason)
{
    for (const char* text : {"", "   ", "Range(\"A1\"", "Range(\"A1).Select", "A..B", "A.",
                             "`", "`x.Subject", "`12 Subject", "Range(\"a\"b\")", "1abc", "A(1))",
                             "Sheets(1", "A B"}) {
        std::string error;
        EXPECT_FALSE(AutomationPath::parse(text, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

// Whatever a driver quotes comes back from the parser as it was: every byte alone, all of them
// at once, and the texts that used to end an argument early or change the path's meaning.
TEST(AutomationPath, QuotedTextsReadBackByteForByte)
{
    std::vector<std::string> texts;
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        texts.push_back(one);
        texts.push_back("a" + one + "b" + one + one);
        everyByte += one;
    }
    texts.push_back(everyByte);
    const std::string odd = "\"'\\),;%s  \xc7\xe0\xea\xe0\xe7 (1).xls\"";
    texts.push_back(odd);
    texts.push_back("");
    texts.push_back("\"\"");
    texts.push_back("\")");
    texts.push_back("   ");
    texts.push_back(std::string(200, '"'));
    std::string long200;
    while (long200.size() < 200)
        long200 += odd;
    texts.push_back(long200.substr(0, 200));
    for (const std::string& text : texts) {
        const std::string path = "`3.Add(" + AutomationPath::quoted(text) + ", " +
                                 AutomationPath::quoted(text) + ").Name";
        std::string error;
        const auto read = AutomationPath::parse(path, &error);
        ASSERT_TRUE(read) << error << " in " << path;
        ASSERT_EQ(read->members().size(), 2u) << path;
        const auto& arguments = read->members()[0].arguments;
        ASSERT_EQ(arguments.size(), 2u) << path;
        for (const auto& argument : arguments) {
            EXPECT_EQ(argument.kind, Kind::Text) << path;
            EXPECT_EQ(argument.text, text) << path;
        }
        EXPECT_EQ(read->members()[1].name, "Name") << path;
    }
}

} // namespace
