#include "platform/ui/PrinterSetup.h"

#include <QPageLayout>
#include <QPrinter>

#include <gtest/gtest.h>

using platform::ui::PrinterSetup;

namespace {

TEST(PrinterSetupTest, TheDialogChangesTheOnePrinterReportsUse)
{
    QPrinter* seen = nullptr;
    const auto previous = PrinterSetup::setHandler([&seen](QPrinter& printer) {
        seen = &printer;
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    EXPECT_TRUE(PrinterSetup::run());
    EXPECT_EQ(seen, &PrinterSetup::printer());
    EXPECT_EQ(PrinterSetup::printer().pageLayout().orientation(), QPageLayout::Landscape);

    // A cancelled dialog reports false.
    PrinterSetup::setHandler([](QPrinter&) { return false; });
    EXPECT_FALSE(PrinterSetup::run());

    PrinterSetup::setHandler(previous);
    PrinterSetup::printer().setPageOrientation(QPageLayout::Portrait);
}

} // namespace
