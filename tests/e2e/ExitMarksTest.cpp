#include "ProgramSession.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/ProgressWindow.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <map>
#include <memory>
#include <vector>

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

// Where each part of a progress window is, in pixels of its own client area.
struct ProgressLook
{
    QString title;
    QSize size;
    std::map<std::string, QRect> parts;
};

// Looks at every progress window as it shows.
class ProgressWindowWatch : public QObject
{
public:
    std::vector<ProgressLook> seen;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* window = qobject_cast<ProgressWindow*>(object);
        if (!window || event->type() != QEvent::Show)
            return false;
        ProgressLook look{window->windowTitle(), window->size(), {}};
        look.parts["bar"] = window->progressBar()->geometry();
        look.parts["cancel"] = window->cancelButton()->geometry();
        for (const QLabel* label : window->findChildren<QLabel*>())
            look.parts[label->text().endsWith(QStringLiteral("% Completed")) ? "percent" : "user"] =
                label->geometry();
        seen.push_back(look);
        return false;
    }
};

TEST(ExitMarks, ProgressWindowsTakeTheSizeAndPlacesOfTheirDefinition)
{
    testsupport::TempWorkFolder folder;
    e2e::writeApplicabilityTypes({{"Легковые", 1}});
    e2e::writeManufacturers({{"Bosch", 1}});
    ProgressWindowWatch watch;
    QCoreApplication::instance()->installEventFilter(&watch);
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle).menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    QCoreApplication::instance()->removeEventFilter(&watch);

    ASSERT_EQ(watch.seen.size(), 2u);
    for (const char* module : {"quelb026", "quelb027"}) {
        const WindowDefinition definition = loadWindowDefinition(module, "P1$PROGRESSWINDOW");
        const DialogUnits du(fontOf(definition.font, QApplication::font()));
        const auto pixels = [&](int x, int y, int width, int height) {
            return QRect(du.toPixelsX(x), du.toPixelsY(y), du.toPixelsX(width),
                         du.toPixelsY(height));
        };
        const ProgressLook& look = watch.seen[module == std::string("quelb026") ? 0 : 1];
        SCOPED_TRACE(module);
        EXPECT_EQ(look.title, QStringLiteral("Processing Records"));
        EXPECT_EQ(look.size, pixels(0, 0, 142, 59).size());
        EXPECT_EQ(look.parts.at("bar"), pixels(15, 15, 111, 12));
        EXPECT_EQ(look.parts.at("user"), pixels(0, 3, 141, 10));
        EXPECT_EQ(look.parts.at("percent"), pixels(0, 30, 141, 10));
        EXPECT_EQ(look.parts.at("cancel"), pixels(45, 42, 50, 15));
    }
}

} // namespace
