#include "platform/ui/HelpService.h"
#include "platform/ui/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBrowser>

#include <cstdlib>

#include <QListWidget>

#include <gtest/gtest.h>

using platform::ui::HelpService;

namespace {

void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &down);
}

class HelpServiceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The pages of the source tree, as the program has them compiled in.
        const char* data = std::getenv("QUELB_TEST_DATA");
        HelpService::setPagesFolder(
            QDir::cleanPath(QString::fromLocal8Bit(data ? data : "tests/data") +
                            QStringLiteral("/../../resources/help")));
        help.init("orderhelp.chm", 0x7B); // F12
    }
    void TearDown() override { HelpService::setPagesFolder(QStringLiteral(":/help")); }

    HelpService help;
};

TEST_F(HelpServiceTest, ContentsShowTheIndexPageAndLeadToEveryPage)
{
    ASSERT_TRUE(help.showContents());
    auto* window = help.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->currentPage().toString().endsWith(QStringLiteral("/index.html")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Программа заказов: справка"));

    const QStringList contents = window->contents();
    ASSERT_EQ(contents.size(), 7);
    EXPECT_EQ(contents.front(), QStringLiteral("Прайс-лист и поиск товаров"));
    // Every line of the contents reads whole in its pane.
    auto* list = window->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_LE(list->fontMetrics().horizontalAdvance(list->item(i)->text()),
                  list->viewport()->width())
            << list->item(i)->text().toStdString();
    for (const char* page : {"price.html", "basket.html", "orders.html", "print.html", "load.html",
                             "settings.html", "lists.html"}) {
        EXPECT_TRUE(window->showPage(QString::fromLatin1(page))) << page;
        EXPECT_FALSE(window->pageTitle().isEmpty()) << page;
    }

    // Showing the contents again reuses the window; closing it twice is harmless.
    ASSERT_TRUE(help.showContents());
    EXPECT_EQ(help.window(), window);
    EXPECT_TRUE(window->currentPage().toString().endsWith(QStringLiteral("/index.html")));
    help.close();
    help.close();
    EXPECT_EQ(help.window(), nullptr);
}

TEST_F(HelpServiceTest, F1AndTheHelpKeyShowTheContents)
{
    QLineEdit entry;
    entry.show();
    press(&entry, Qt::Key_F1);
    ASSERT_NE(help.window(), nullptr);
    help.close();
    press(&entry, Qt::Key_F12);
    ASSERT_NE(help.window(), nullptr);
    help.close();

    // Other keys, and F1 with a modifier, stay with the window.
    press(&entry, Qt::Key_F2);
    press(&entry, Qt::Key_F1, Qt::ShiftModifier);
    press(&entry, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_EQ(help.window(), nullptr);
    EXPECT_EQ(entry.text(), QStringLiteral("a"));

    help.kill();
    press(&entry, Qt::Key_F1);
    EXPECT_EQ(help.window(), nullptr);
}

TEST_F(HelpServiceTest, MissingPagesAreSaidInTheWindow)
{
    HelpService::setPagesFolder(QStringLiteral("/nonexistent/help"));
    EXPECT_FALSE(help.showContents());
    ASSERT_NE(help.window(), nullptr);
    EXPECT_TRUE(help.window()->browser()->toPlainText().contains(QStringLiteral("index.html")));
}

} // namespace
