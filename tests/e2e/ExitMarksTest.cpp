#include "ProgramSession.h"

#include "tests/support/TempWorkFolder.h"

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

} // namespace
