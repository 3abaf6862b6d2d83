#include "platform/ui/KeyCodes.h"
#include "platform/ui/Event.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace platform::ui;

namespace {

TEST(KeyCodesTest, NamesAndCodesOfTheDesign)
{
    const std::pair<const char*, int> table[] = {
        {"Ctrl+Insert", 0x22D},
        {"Ctrl+C", 0x243},
        {"Shift+Insert", 0x12D},
        {"Ctrl+V", 0x256},
        {"Shift+Delete", 0x12E},
        {"Ctrl+X", 0x258},
        {"Alt+Enter", 0x40D},
        {"Ctrl+Enter", 0x20D},
        {"Enter", 0x0D},
        {"Esc", 0x1B},
        {"F1", 0x70},
        {"F12", 0x7B},
        {"Ctrl+Z", 0x25A},
        {"Ctrl+Shift+A", 0x341},
        {"0x12D", 0x12D},
        {"del", 0x2E},
    };
    for (const auto& [name, code] : table)
        EXPECT_EQ(keyCodeFromName(name), code) << name;
    for (const char* bad : {"", "Ctrl+", "Hyper+A", "F25", "F0", "0x", "0xZZ", "Enterr", "+A"})
        EXPECT_EQ(keyCodeFromName(bad), -1) << bad;
}

TEST(KeyCodesTest, NamesRoundTrip)
{
    for (int code : {0x22D, 0x12E, 0x40D, 0x7B, 0x25A, 0x1B, 0x341, 0x30})
        EXPECT_EQ(keyCodeFromName(keyName(code)), code) << keyName(code);
}

TEST(KeyCodesTest, KeyEventsGiveVirtualKeyAndModifierBits)
{
    const QKeyEvent ctrlZ(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(keyCodeOf(ctrlZ), Key::Ctrl | 'Z');
    const QKeyEvent altEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_EQ(keyCodeOf(altEnter), Key::Alt | Key::Enter) << "keypad Enter is Enter";
    const QKeyEvent shift(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_EQ(keyCodeOf(shift), 0) << "a modifier alone has no code";
    // Ctrl+Я in the Russian layout is the hot key Ctrl+Z.
    const QKeyEvent russian(QEvent::KeyPress, static_cast<int>(u'Я'), Qt::ControlModifier);
    EXPECT_EQ(keyCodeOf(russian), Key::Ctrl | 'Z');
    const QKeyEvent russianLower(QEvent::KeyPress, static_cast<int>(u'ф'), Qt::NoModifier);
    EXPECT_EQ(keyCodeOf(russianLower), 'A');
}

TEST(KeyCodesTest, CodesBecomeQtKeysForTheDriver)
{
    const QtKey paste = qtKeyOf(0x256);
    EXPECT_EQ(paste.key, Qt::Key_V);
    EXPECT_EQ(paste.modifiers, Qt::ControlModifier);
    EXPECT_TRUE(paste.text().isEmpty()) << "a control key types nothing";
    EXPECT_EQ(qtKeyOf('A' | Key::Shift).text(), QStringLiteral("A"));
    EXPECT_EQ(qtKeyOf('A').text(), QStringLiteral("a"));
    EXPECT_EQ(qtKeyOf(Key::Delete | Key::Shift).key, Qt::Key_Delete);
}

} // namespace
