#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/EntryControl.h"
#include "platform/ui/Event.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/Window.h"

#include "WindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>

using namespace platform::ui;
using platform::text::FixedString;
using platform::text::w;

namespace {

class ControlsTest : public uitest::WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = std::make_unique<Window>(loadWindowDefinition("sample", "P1$WINDOW"));
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }
    Window& window() { return *m_window; }
    std::string text(int control) { return window().property(control, Property::Text); }

    std::unique_ptr<Window> m_window;
};

TEST(DialogUnitsTest, UnitsComeFromTheFontsAverageWidthAndHeight)
{
    QFont font(fontFamilyFor("Arial"), 10);
    const DialogUnits du(font);
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(du.averageWidth(), (letters / 26 + 1) / 2);
    EXPECT_EQ(du.height(), metrics.height());
    EXPECT_EQ(du.toPixelsX(4), du.averageWidth());
    EXPECT_EQ(du.toPixelsY(8), du.height());
    EXPECT_EQ(du.toPixelsX(0), 0);
    EXPECT_EQ(du.fromPixelsX(du.toPixelsX(400)), 400);
    EXPECT_EQ(du.toPixelsX(-8), -2 * du.averageWidth()) << "negative positions round the same way";
}

TEST(AppearanceTest, ColoursAreBlueGreenRed)
{
    EXPECT_EQ(colourOf(0xFF), QColor(255, 0, 0));
    EXPECT_EQ(colourOf(0x8000), QColor(0, 128, 0));
    EXPECT_EQ(colourOf(0xFF0000), QColor(0, 0, 255));
    EXPECT_FALSE(colourOf(-1).isValid());
    EXPECT_EQ(colourValueOf(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(colourValueOf(QColor()), -1);
}

TEST(AppearanceTest, DefinitionFontsFallBackToInstalledFamilies)
{
    const QStringList installed = QFontDatabase::families();
    for (const char* name : {"MS Sans Serif", "Arial", "Times New Roman"})
        EXPECT_TRUE(installed.contains(fontFamilyFor(name), Qt::CaseInsensitive)) << name;
    EXPECT_EQ(fontFamilyFor("No Such Family"), QStringLiteral("No Such Family"));
}

TEST_F(ControlsTest, ControlsArePlacedInDialogUnitsOfTheWindowFont)
{
    Window units(loadWindowDefinition("sample", "P1$UNITS"));
    const DialogUnits du = units.units();
    EXPECT_EQ(du.averageWidth(), DialogUnits(QFont(fontFamilyFor("Arial"), 10)).averageWidth());
    const QRect button = units.control(1)->widget()->geometry();
    EXPECT_EQ(button,
              QRect(du.toPixelsX(10), du.toPixelsY(20), du.toPixelsX(40), du.toPixelsY(16)));
    // A control without a position continues the line of the one before it.
    const QRect next = units.control(2)->widget()->geometry();
    EXPECT_EQ(next.left(), button.right() + 1);
    EXPECT_EQ(next.top(), button.top());
    EXPECT_EQ(units.propertyNumber(2, Property::Width), 30);
}

TEST_F(ControlsTest, PositionAndSizeAreSetOneByOne)
{
    window().setProperty(14, Property::Y, 100LL);
    EXPECT_EQ(window().propertyNumber(14, Property::X), 20);
    EXPECT_EQ(window().propertyNumber(14, Property::Y), 100);
    window().setProperty(14, Property::Width, "");
    EXPECT_EQ(window().propertyNumber(14, Property::Width), 60) << "an empty value changes nothing";
    window().setProperty(14, Property::Width, 80LL);
    const DialogUnits du = window().units();
    EXPECT_EQ(window().control(14)->widget()->geometry(),
              QRect(du.toPixelsX(20), du.toPixelsY(100), du.toPixelsX(80), du.toPixelsY(14)));
}

TEST_F(ControlsTest, AControlsOwnColourLeavesTheDisabledLookGreyed)
{
    Window window(loadWindowDefinition("sample", "P1$WINDOW"));
    QWidget* entry = window.control("?KOL")->widget();
    const QColor own = colourOf(0xFF0000);
    EXPECT_EQ(entry->palette().color(QPalette::Active, QPalette::Text), own);
    window.disable(window.number("?KOL"));
    EXPECT_FALSE(entry->isEnabled());
    EXPECT_NE(entry->palette().color(QPalette::Disabled, QPalette::Text), own)
        << "a disabled entry must not look like an enabled one";
}

TEST_F(ControlsTest, ANumericEntryTakesNoMoreWholeDigitsThanItsPicture)
{
    Window window(loadWindowDefinition("sample", "P1$WINDOW"));
    auto* entry = qobject_cast<QLineEdit*>(window.control("?KOL")->widget());
    ASSERT_NE(entry, nullptr);
    int position = 0;
    QString six = QStringLiteral("123456");
    QString seven = QStringLiteral("1234567");
    QString negative = QStringLiteral("-123456");
    EXPECT_NE(entry->validator()->validate(six, position), QValidator::Invalid);
    EXPECT_EQ(entry->validator()->validate(seven, position), QValidator::Invalid);
    EXPECT_NE(entry->validator()->validate(negative, position), QValidator::Invalid);
}

TEST_F(ControlsTest, PropertiesByNumber)
{
    EXPECT_EQ(text(0), w("Заказ товара"));
    window().setProperty(0, Property::Text, w("Новый"));
    EXPECT_EQ(window().title(), w("Новый"));

    EXPECT_EQ(text(14), w("Заказать"));
    window().setProperty(14, Property::Text, w("Купить"));
    EXPECT_EQ(static_cast<QPushButton*>(window().control(14)->widget())->text(),
              QStringLiteral("Купить"));

    EXPECT_EQ(window().propertyNumber(3, Property::FontColour), 0xFF0000);
    EXPECT_EQ(window().control(3)->widget()->palette().color(QPalette::Text), QColor(0, 0, 255));
    window().setProperty(3, Property::FontColour, 0xFFLL);
    EXPECT_EQ(window().control(3)->widget()->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(window().propertyNumber(3, Property::FontSize), 10);
    EXPECT_EQ(window().propertyNumber(3, Property::FontWeight), 700);

    EXPECT_EQ(window().property(4, Property::Tooltip), w("Наименование"));
    window().setProperty(4, Property::Tooltip, w("Подсказка"));
    EXPECT_EQ(window().control(4)->widget()->toolTip(), QStringLiteral("Подсказка"));

    EXPECT_EQ(window().property(14, Property::Cursor), "hand");
    window().setProperty(14, Property::Cursor, "");
    EXPECT_EQ(window().property(14, Property::Cursor), "");

    EXPECT_EQ(window().propertyNumber(1, Property::Type), TypeCode::String);
    EXPECT_EQ(window().propertyNumber(3, Property::Type), TypeCode::Entry);
    EXPECT_EQ(window().propertyNumber(5, Property::Type), TypeCode::Check);
    EXPECT_EQ(window().propertyNumber(9, Property::Type), TypeCode::Sheet);
    EXPECT_EQ(window().propertyNumber(14, Property::Type), TypeCode::Button);
    EXPECT_FALSE(window().setProperty(14, Property::Type, 1LL)) << "the type code is read only";

    EXPECT_EQ(window().propertyNumber(16, Property::LineWidth), 1);
    window().setProperty(16, Property::LineWidth, 3LL);
    EXPECT_EQ(window().propertyNumber(16, Property::LineWidth), 3);

    window().setProperty(17, Property::Progress, 150LL);
    EXPECT_EQ(window().propertyNumber(17, Property::Progress), 100) << "clamped to the bar";

    window().setProperty(3, Property::Drop, 5LL);
    EXPECT_EQ(window().propertyNumber(3, Property::Drop), 5);
    EXPECT_EQ(window().property(99, Property::Text), "") << "an unknown control reads empty";
    EXPECT_FALSE(window().setProperty(99, Property::Text, "x"));
}

TEST_F(ControlsTest, NextFieldWalksEveryControlInOrder)
{
    std::vector<int> walk;
    for (int n = window().nextField(0); n != 0; n = window().nextField(n))
        walk.push_back(n);
    ASSERT_EQ(walk.size(), 17u);
    EXPECT_EQ(walk.front(), 1);
    EXPECT_EQ(walk.back(), 17);
}

TEST_F(ControlsTest, HiddenAndDisabledFollowTabsAndHolders)
{
    window().open();
    EXPECT_TRUE(window().isShown(*window().control(11))) << "on the first tab";
    EXPECT_FALSE(window().isShown(*window().control(13))) << "on the second tab";
    EXPECT_FALSE(window().isShown(*window().control(17))) << "hidden by its definition";
    window().control(12)->press();
    ASSERT_TRUE(uitest::waitFor([&] { return window().currentTab(9) == 2; }));
    EXPECT_FALSE(window().control(11)->widget()->isVisible());
    EXPECT_TRUE(window().control(13)->widget()->isVisible());

    window().hide(6);
    EXPECT_FALSE(window().isShown(*window().control(7))) << "a radio of a hidden group";
    window().unhide(6);
    EXPECT_TRUE(window().isShown(*window().control(7)));
    window().disable(14);
    EXPECT_FALSE(window().control(14)->widget()->isEnabled());
    EXPECT_EQ(window().property(14, Property::Disabled), "1");
    window().enable(14);
    EXPECT_TRUE(window().control(14)->widget()->isEnabled());
    window().finish();
}

TEST_F(ControlsTest, BoundVariablesShowThroughPicturesAndTakeTheScreenBack)
{
    int32_t code = 5;
    int32_t quantity = 1;
    FixedString<20> name(w("Болт"));
    FixedString<1> flag(w("Д"));
    uint8_t kind = 2;
    uint8_t tab = 2;
    ASSERT_TRUE(window().bind("KOD", code));
    ASSERT_TRUE(window().bind("kol", quantity)) << "names match without case";
    ASSERT_TRUE(window().bind("NAME", name));
    ASSERT_TRUE(window().bind("FLAG", flag));
    ASSERT_TRUE(window().bind("KIND", kind));
    ASSERT_TRUE(window().bind("TAB", tab));
    EXPECT_FALSE(window().bind("NOSUCH", code));
    window().open();

    EXPECT_EQ(text(1), "       5");
    EXPECT_EQ(static_cast<QLabel*>(window().control(1)->widget())->text(), QStringLiteral("5"));
    EXPECT_EQ(text(3), "1");
    EXPECT_EQ(text(4), w("Болт"));
    EXPECT_TRUE(window().isChecked(5));
    EXPECT_EQ(window().property(6, Property::Checked), "2");
    EXPECT_EQ(window().currentTab(9), 2);

    auto* entry = static_cast<EntryControl*>(window().control(3));
    entry->typeText(QStringLiteral("12x3"));
    EXPECT_EQ(text(3), "123") << "the picture lets digits only in";
    auto* nameEntry = static_cast<QLineEdit*>(window().control(4)->widget());
    nameEntry->setText(QStringLiteral("Гайка очень длинная двадцать"));
    static_cast<QCheckBox*>(window().control(5)->widget())->setChecked(false);
    window().setProperty(6, Property::Checked, "1");
    window().update();
    EXPECT_EQ(quantity, 123);
    EXPECT_EQ(name.view(), w("Гайка очень длинная "));
    EXPECT_EQ(flag.view(), w("Н"));
    EXPECT_EQ(kind, 1);

    // Only a changed variable is shown again: typing in progress stays.
    entry->typeText(QStringLiteral("77"));
    code = 9;
    window().display(1);
    EXPECT_EQ(text(3), "77");
    EXPECT_EQ(text(1), "       9");
    window().finish();
}

TEST_F(ControlsTest, KeyPressesPassThroughTheControlsProcedure)
{
    static std::vector<std::pair<unsigned, std::uintptr_t>> seen;
    seen.clear();
    const WindowProcedure procedure = [](void* handle, unsigned message, std::uintptr_t key,
                                         std::intptr_t lParam) {
        seen.emplace_back(message, key);
        return defaultWindowProcedure(handle, message, key, lParam);
    };
    EXPECT_EQ(window().property(3, Property::WindowProcedure),
              std::to_string(reinterpret_cast<std::intptr_t>(&defaultWindowProcedure)));
    window().setProperty(3, Property::WindowProcedure,
                         static_cast<long long>(reinterpret_cast<std::intptr_t>(procedure)));
    EXPECT_EQ(window().control(3)->procedure(), procedure);
    window().open();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
    QCoreApplication::sendEvent(window().control(3)->widget(), &press);
    EXPECT_EQ(seen, (std::vector<std::pair<unsigned, std::uintptr_t>>{{Message::KeyDown, '5'}}));

    // Alt held or a modifier alone makes them system keys (a chord is not typing); a key
    // without a code of the runtime's is a key press all the same.
    seen.clear();
    for (const auto& [key, modifiers, text] :
         {std::tuple{Qt::Key_Shift, Qt::KeyboardModifiers(Qt::AltModifier | Qt::ShiftModifier),
                     QString()},
          std::tuple{Qt::Key_Alt, Qt::KeyboardModifiers(Qt::AltModifier), QString()},
          std::tuple{Qt::Key_Shift, Qt::KeyboardModifiers(Qt::ShiftModifier), QString()},
          std::tuple{Qt::Key_Control, Qt::KeyboardModifiers(Qt::ControlModifier), QString()},
          std::tuple{Qt::Key(0), Qt::KeyboardModifiers(), QStringLiteral("ж")}}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(window().control(3)->widget(), &event);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<unsigned, std::uintptr_t>>{{Message::SysKeyDown, 0x10},
                                                                      {Message::SysKeyDown, 0x12},
                                                                      {Message::SysKeyDown, 0x10},
                                                                      {Message::SysKeyDown, 0x11},
                                                                      {Message::KeyDown, 0xFF}}));
    // The runtime's own procedure takes a layout change; the program's may refuse it.
    EXPECT_EQ(defaultWindowProcedure(nullptr, Message::InputLanguageChangeRequest, 0, 0), 1);
    window().finish();
}

} // namespace

namespace {

TEST(ProgramCursorTest, WaitCursorIsProgramWideAndRestoredAtOnce)
{
    setProgramCursor("wait");
    setProgramCursor("wait");
    EXPECT_TRUE(programCursorIsWait());
    setProgramCursor("");
    EXPECT_FALSE(programCursorIsWait());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "one normal cursor undoes every wait";
}

} // namespace
