#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

#include "WindowTestSupport.h"

#include <QGroupBox>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// How the runtime places what the window definitions lay out: controls that meet in dialog
// units meet on the screen, a check box or radio of no given size takes a line's height, and a
// group's caption sits on its frame's line, leaving the line below it to the controls inside.
using namespace platform::ui;
using platform::text::w;

namespace {

ControlDefinition control(int number, const char* label, const char* kind, const char* text,
                          Placement at)
{
    ControlDefinition definition;
    definition.number = number;
    definition.label = label;
    definition.kind = kind;
    definition.text = w(text);
    definition.at = at;
    return definition;
}

std::unique_ptr<Window> windowOf(std::vector<ControlDefinition> controls)
{
    WindowDefinition definition;
    definition.module = "test";
    definition.label = "P1$WINDOW";
    definition.kind = "dialog";
    definition.title = w("Размещение");
    definition.at = {std::nullopt, std::nullopt, 250, 120};
    definition.font.name = "MS Sans Serif";
    definition.font.size = 8;
    definition.controls = std::move(controls);
    return std::make_unique<Window>(definition);
}

QRect placed(const Window& window, int number)
{
    return window.control(number)->widget()->geometry();
}

TEST(LayoutPlacement, ControlsThatMeetInDialogUnitsMeetOnTheScreen)
{
    // Lines of text one under the other, as the about box has them.
    auto window = windowOf({control(1, "?LINE1", "string", "Первая", {6, 55, 238, 11}),
                            control(2, "?LINE2", "string", "Вторая", {6, 66, 238, 11}),
                            control(3, "?LINE3", "string", "Третья", {6, 77, 238, 11}),
                            control(4, "?LEFT", "button", "Левая", {5, 95, 33, 14}),
                            control(5, "?RIGHT", "button", "Правая", {38, 95, 33, 14})});
    EXPECT_EQ(placed(*window, 1).bottom() + 1, placed(*window, 2).top());
    EXPECT_EQ(placed(*window, 2).bottom() + 1, placed(*window, 3).top());
    EXPECT_EQ(placed(*window, 4).right() + 1, placed(*window, 5).left());
    // Moved and sized by the program, the same.
    window->setProperty(3, Property::Y, 88LL);
    window->setProperty(2, Property::Height, 22LL);
    EXPECT_EQ(placed(*window, 2).bottom() + 1, placed(*window, 3).top());
}

TEST(LayoutPlacement, ACheckBoxOrRadioOfNoGivenSizeTakesOneLinesHeight)
{
    auto window =
        windowOf({control(1, "?CHECK", "check", "показать только выбранные", {10, 10, {}, {}}),
                  control(2, "?BELOW", "string", "строка ниже", {10, 20, 100, 10}),
                  control(3, "?KIND", "option", "Вид", {120, 4, 120, 40}),
                  control(4, "?R1", "radio", "один", {126, 14, {}, {}}),
                  control(5, "?R2", "radio", "два", {126, 24, {}, {}})});
    EXPECT_LE(placed(*window, 1).bottom(), placed(*window, 2).top() - 1);
    EXPECT_LE(placed(*window, 4).bottom(), placed(*window, 5).top() - 1);
    // Still room for the box and the text's letters.
    EXPECT_GE(placed(*window, 1).height(), window->control(1)->widget()->fontMetrics().height());
}

TEST(LayoutPlacement, AGroupsCaptionSitsOnItsFrameLineAndLeavesTheLineBelowInside)
{
    // A group and a text a line (10 units) below its top, as the settings window has them.
    auto window = windowOf({control(1, "?GROUP", "group", "Настройки прокси:", {8, 48, 200, 60}),
                            control(2, "?TEXT", "string", "Укажите настройки", {14, 58, 180, 10}),
                            control(3, "?BARE", "group", "", {8, 10, 200, 30}),
                            control(4, "?TOP", "string", "У самого верха", {14, 13, 180, 10})});
    auto* group = qobject_cast<QGroupBox*>(window->control(1)->widget());
    ASSERT_NE(group, nullptr);
    const QRect inside = group->contentsRect().translated(group->pos());
    EXPECT_TRUE(inside.contains(placed(*window, 2)))
        << "inside " << inside.top() << ", text at " << placed(*window, 2).top();
    EXPECT_LE(group->contentsRect().top(), group->fontMetrics().height() + 1);
    // Without a caption the frame's line is the group's top.
    auto* bare = qobject_cast<QGroupBox*>(window->control(3)->widget());
    ASSERT_NE(bare, nullptr);
    EXPECT_TRUE(bare->contentsRect().translated(bare->pos()).contains(placed(*window, 4)));
}

} // namespace
