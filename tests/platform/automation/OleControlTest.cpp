#include "platform/automation/OleContainer.h"
#include "platform/automation/OleControl.h"
#include "platform/automation/ServerRegistry.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

namespace {

using platform::automation::OleContainer;
using platform::automation::OleControl;
using platform::text::w;

TEST(OleContainer, AnUnknownIdentifierHoldsNothingAndAnswersEmpty)
{
    OleContainer ole;
    EXPECT_FALSE(ole.create("Nothing.Application"));
    EXPECT_FALSE(ole.hasApplication());
    EXPECT_EQ(ole.read("Application.Version"), "");
    EXPECT_FALSE(ole.write("Visible", "1"));
    EXPECT_EQ(ole.failureCount(), 3);
    EXPECT_TRUE(ole.create(" excel.application "));
    EXPECT_EQ(ole.read("Application.Version"), "11.0");
    EXPECT_EQ(ole.lastError(), "");
}

TEST(OleContainer, ObjectAnswersBecomeReferencesThatLaterPathsBeginWith)
{
    OleContainer ole;
    ASSERT_TRUE(ole.create("Excel.Application"));
    const std::string book = ole.read("Workbooks.Add");
    EXPECT_EQ(book, "`1");
    EXPECT_EQ(ole.read("Workbooks(1)"), book) << "the same object keeps its number";
    std::string stored = book;
    stored.resize(19, ' ');
    EXPECT_EQ(ole.read(stored + ".Name"), "Book1");
    EXPECT_TRUE(ole.write(stored + ".Sheets(1).Name", w("Заказ")));
    EXPECT_EQ(ole.read("ActiveSheet.Name"), w("Заказ"));
    const std::string sheet = ole.read("ActiveSheet");
    EXPECT_EQ(sheet.front(), '`');
    EXPECT_NE(sheet, book);
    ole.deactivate();
    EXPECT_EQ(ole.read(stored + ".Name"), "") << "references go with the application";
}

TEST(OleContainer, PathsTheServerCannotCarryOutAnswerEmptyWithoutACrash)
{
    OleContainer ole;
    ASSERT_TRUE(ole.create("Excel.Application"));
    // No workbook is open yet.
    EXPECT_EQ(ole.read("Selection.Font.Bold"), "");
    EXPECT_FALSE(ole.lastError().empty());
    ole.read("Workbooks.Add");
    const char* bad[] = {"Nonsense", "Range(\"ZZZZ99\").Value", "Range(\"A1\").Nonsense",
                         "Range(\"A1\").Value.Font", "`999.Name", "Range(\"A1\"", "Cells(0,1).Value",
                         "Sheets(5).Name", "Sheets(\"none\").Select", "Run(\"Macro1\")",
                         "International(999)", "ActiveChart.ChartType", "Workbooks.Open(\"/no/such.xls\")",
                         "Range(\"a\"b\").Select", "Columns(0).ColumnWidth", "Borders(3).LineStyle"};
    for (const char* path : bad) {
        EXPECT_EQ(ole.read(path), "") << path;
        EXPECT_FALSE(ole.lastError().empty()) << path;
    }
    EXPECT_FALSE(ole.write("Selection.HorizontalAlignment", "244"));
    EXPECT_FALSE(ole.write("Selection.Font.Size", "big"));
    EXPECT_FALSE(ole.write("Version", "12"));
    EXPECT_FALSE(ole.write("`5", "1"));
    EXPECT_FALSE(ole.write("Sheets(1).Name", "a/b"));
    EXPECT_FALSE(ole.write("Selection.Borders.Weight", "3"));
    // The channel still works afterwards.
    EXPECT_TRUE(ole.write("Range(\"B2\").Value", "7"));
    EXPECT_EQ(ole.read("Range(\"B2\").Value"), "7");
}

TEST(OleContainer, PropertiesOfTheControlItself)
{
    OleContainer ole;
    ole.setLanguage(1033);
    ole.setReportException(true);
    EXPECT_EQ(ole.language(), 1033);
    EXPECT_TRUE(ole.reportException());
    ole.create("Excel.Application");
    ole.read("Workbooks.Add");
    ole.create("Excel.Application");
    EXPECT_EQ(ole.read("Workbooks.Count"), "0") << "Create replaces the application";
    ole.deactivate();
    EXPECT_FALSE(ole.hasApplication());
}

TEST(OleContainer, ClipboardTakesWindows1251Text)
{
    OleContainer::setClipboardText(w("Код\tЦена"));
    EXPECT_EQ(OleContainer::clipboardText(), w("Код\tЦена"));
    OleContainer::setClipboardText("");
    EXPECT_EQ(OleContainer::clipboardText(), "");
}

TEST(OleControl, IsAControlKindOnAWindowAddressedByNumber)
{
    OleControl::registerKind();
    platform::ui::WindowDefinition definition;
    definition.kind = "window";
    definition.label = "test";
    platform::ui::ControlDefinition text;
    text.number = 1;
    text.kind = "string";
    text.text = "x";
    platform::ui::ControlDefinition ole;
    ole.number = 2;
    ole.kind = "ole";
    ole.hidden = true;
    definition.controls = {text, ole};
    platform::ui::Window window(definition);
    EXPECT_EQ(OleControl::containerOf(&window, 1), nullptr);
    EXPECT_EQ(OleControl::containerOf(&window, 3), nullptr);
    EXPECT_EQ(OleControl::containerOf(nullptr, 2), nullptr);
    OleContainer* container = OleControl::containerOf(&window, 2);
    ASSERT_NE(container, nullptr);
    EXPECT_EQ(window.control(2)->typeCode(), platform::ui::TypeCode::Ole);
    EXPECT_TRUE(container->create("Excel.Application"));
    EXPECT_EQ(container->read("Application.Version"), "11.0");
}

} // namespace
