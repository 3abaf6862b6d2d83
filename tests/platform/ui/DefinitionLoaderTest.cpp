#include "platform/ui/DefinitionLoader.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/Event.h"

#include "WindowTestSupport.h"

#include <gtest/gtest.h>

using namespace platform::ui;
using platform::text::w;

namespace {

class DefinitionLoaderTest : public uitest::WindowTest
{
};

TEST_F(DefinitionLoaderTest, ControlsAreNumberedDepthFirstWithTheirHolders)
{
    const WindowDefinition window = loadWindowDefinition("quelbarto$sample", "p1$window");
    EXPECT_EQ(window.label, "P1$WINDOW");
    EXPECT_EQ(window.kind, "dialog");
    EXPECT_EQ(window.title, w("Заказ товара"));
    ASSERT_EQ(window.controls.size(), 17u);
    for (std::size_t i = 0; i < window.controls.size(); ++i)
        EXPECT_EQ(window.controls[i].number, static_cast<int>(i) + 1);
    const auto& c = window.controls;
    EXPECT_EQ(c[2].label, "?KOL");
    EXPECT_EQ(c[2].alertKeys, (std::vector<int>{Key::Enter, Key::Esc}));
    EXPECT_EQ(c[2].font.colour, 0xFF0000);
    EXPECT_EQ(c[2].font.weight, 700);
    EXPECT_EQ(c[6].label, "?R1");
    EXPECT_EQ(c[6].parent, 6);
    EXPECT_EQ(c[9].label, "?TAB1");
    EXPECT_EQ(c[9].parent, 9);
    EXPECT_EQ(c[10].label, "?IN1");
    EXPECT_EQ(c[10].parent, 10);
    EXPECT_EQ(c[11].label, "?TAB2");
    EXPECT_EQ(c[13].label, "?BUTTON1");
    EXPECT_EQ(c[13].parent, 0);
    EXPECT_EQ(c[4].trueValue, w("Д"));
    EXPECT_FALSE(window.at.x.has_value());
    EXPECT_EQ(window.at.width, 200);
}

TEST_F(DefinitionLoaderTest, MenusAndToolbarButtonsTakeNegativeNumbers)
{
    const WindowDefinition frame = loadWindowDefinition("sample", "P1$FRAME");
    ASSERT_EQ(frame.menuItems.size(), 5u);
    EXPECT_EQ(frame.menuItems[0].label, "?FILE");
    EXPECT_EQ(frame.menuItems[0].number, -1);
    EXPECT_EQ(frame.menuItems[1].parent, -1);
    EXPECT_EQ(frame.menuItems[2].action, "close");
    EXPECT_EQ(frame.menuItems[3].kind, "toolbutton");
    EXPECT_EQ(frame.menuItems[4].number, -5);
}

TEST_F(DefinitionLoaderTest, ModuleFileNamesAreFoundWhateverTheirCase)
{
    EXPECT_NO_THROW(loadWindowDefinition("SAMPLE", "P1$CHILD"));
}

TEST_F(DefinitionLoaderTest, MissingFileOrWindowIsAClearError)
{
    try {
        loadWindowDefinition("nosuchmodule", "P1$WINDOW");
        FAIL();
    } catch (const DefinitionError& error) {
        EXPECT_NE(std::string(error.what()).find("nosuchmodule.json"), std::string::npos)
            << error.what();
    }
    try {
        loadWindowDefinition("sample", "P1$NOSUCH");
        FAIL();
    } catch (const DefinitionError& error) {
        EXPECT_NE(std::string(error.what()).find("sample.json"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("P1$NOSUCH"), std::string::npos);
    }
}

struct BadCase
{
    const char* file;
    const char* phrase;
};

void PrintTo(const BadCase& bad, std::ostream* out)
{
    *out << bad.file;
}

class BadDefinitionTest : public testing::TestWithParam<BadCase>
{
};

TEST_P(BadDefinitionTest, NamesTheFileAndTheFault)
{
    const auto file = uitest::testData() / "bad" / GetParam().file;
    try {
        loadDefinitionFile(file);
        FAIL() << "accepted " << GetParam().file;
    } catch (const DefinitionError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find(GetParam().file), std::string::npos) << what;
        EXPECT_NE(what.find(GetParam().phrase), std::string::npos) << what;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadDefinitionTest,
                         testing::Values(BadCase{"bad-json.json", "line 4"},
                                         BadCase{"bad-kind.json",
                                                 "control 2 (?B2): unknown kind \"buton\""},
                                         BadCase{"bad-tab.json", "tabs belong directly in a sheet"},
                                         BadCase{"bad-key.json", "unknown key \"color\""},
                                         BadCase{"bad-alert.json", "\"Ctrl+Fish\" is not a key"},
                                         BadCase{"bad-picture.json", "picture \"x12\""},
                                         BadCase{"bad-number.json", "\"number\" says 3"},
                                         BadCase{"bad-twice.json", "used twice"},
                                         BadCase{"bad-at.json", "sizes not negative"},
                                         BadCase{"missing.json", "cannot be read"}),
                         [](const testing::TestParamInfo<BadCase>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(DefinitionLoaderTest, ControllerOfABadDefinitionThrowsInsteadOfCrashing)
{
    setResourceFolder(uitest::testData() / "badroot");
    EXPECT_THROW(WindowController("sample", "P1$WINDOW"), DefinitionError);
}

} // namespace
