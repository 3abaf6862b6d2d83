#include "ProgramSession.h"

#include "platform/text/Cp1251.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempWorkFolder.h"

#include <memory>

#include <gtest/gtest.h>

using namespace platform::ui;

namespace {

TEST(ExitMarks, EveryMarkIsClearedWhateverItHeld)
{
    testsupport::TempWorkFolder folder;
    e2e::writeApplicabilityTypes({{"Легковые", 1}, {"Грузовые", 2}, {"Автобусы", 255}, {"", 1}});
    e2e::writeManufacturers({{"Bosch", 0}, {"Mann", 1}, {"Ё-мобиль", 7}});
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle).menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(e2e::applicabilityMarks(), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_TRUE(driver.messages().empty());
}

TEST(ExitMarks, OneEmptyFileGivesOneNoticeAndTheOtherIsStillCleared)
{
    testsupport::TempWorkFolder folder;
    e2e::writeManufacturers({{"Bosch", 1}});
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle).answerMessage(Button::Ok).menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(e2e::messagesCaptioned(driver, "Нет записей"), 1);
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0}));
}

TEST(ExitMarks, AMarkThatCannotBeWrittenIsSaidInRussianAndTheOtherFileStillRuns)
{
    testsupport::TempWorkFolder folder;
    e2e::writeApplicabilityTypes({{"Легковые", 1}, {"Грузовые", 1}});
    e2e::writeManufacturers({{"Bosch", 1}});
    TestDriver driver;
    std::unique_ptr<testsupport::FileSizeLimit> full; // a full disk while the program ends
    driver.waitOpen(e2e::FrameTitle)
        .call([&] { full = std::make_unique<testsupport::FileSizeLimit>(16); })
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    full.reset();
    ASSERT_EQ(driver.messages().size(), 2u);
    for (const auto& box : driver.messages()) {
        const std::string text = platform::text::cp1251ToUtf8(box.text);
        EXPECT_EQ(platform::text::cp1251ToUtf8(box.caption), "Ошибка");
        EXPECT_EQ(text.rfind("Запись не обновлена: отметка выбора не снята.\n"
                            "Нет места на диске (39)\nФайл ",
                            0),
                  0u)
            << text;
        EXPECT_EQ(text.find("Record"), std::string::npos) << text;
    }
    EXPECT_EQ(e2e::applicabilityMarks(), (std::vector<uint8_t>{1, 1}));
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{1}));
}

} // namespace
