#include "platform/ui/PrinterSetup.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"

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

namespace {

// Where no printer is installed, a printout goes to a PDF file the user chooses and they are
// told where it went; afterwards the printer prints on paper again.
TEST(PrinterSetupTest, WithoutAPrinterTheJobGoesToAPdfFileTheUserChooses)
{
    if (PrinterSetup::anyPrinterInstalled())
        GTEST_SKIP() << "a printer is installed on this machine";
    using namespace platform::ui;
    std::vector<std::string> titles;
    std::vector<std::string> messages;
    const auto previousFiles = setFileDialogHandler([&](const FileRequest& request) {
        titles.push_back(platform::text::cp1251ToUtf8(request.title));
        return std::optional<QString>(QStringLiteral("/tmp/заказ"));
    });
    const auto previousMessages = setMessageHandler([&](const MessageRequest& request) {
        messages.push_back(platform::text::cp1251ToUtf8(request.text));
        return Button::Ok;
    });
    QPrinter* printer = PrinterSetup::forJob();
    ASSERT_EQ(printer, &PrinterSetup::printer());
    EXPECT_EQ(printer->outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer->outputFileName(), QStringLiteral("/tmp/заказ.pdf"));
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_NE(titles[0].find("Принтер не установлен"), std::string::npos) << titles[0];
    PrinterSetup::jobDone();
    EXPECT_EQ(messages, std::vector<std::string>{"Документ сохранён в файл /tmp/заказ.pdf"});
    EXPECT_TRUE(printer->outputFileName().isEmpty()) << "the next printout asks again";

    // A cancelled choice prints nothing.
    setFileDialogHandler([](const FileRequest&) { return std::optional<QString>(); });
    EXPECT_EQ(PrinterSetup::forJob(), nullptr);

    // A printer already writing to a file the program chose is used as it is, without asking.
    PrinterSetup::printer().setOutputFormat(QPrinter::PdfFormat);
    PrinterSetup::printer().setOutputFileName(QStringLiteral("/tmp/chosen.pdf"));
    titles.clear();
    EXPECT_EQ(PrinterSetup::forJob(), &PrinterSetup::printer());
    EXPECT_TRUE(titles.empty());
    PrinterSetup::jobDone();
    EXPECT_EQ(messages.size(), 1u) << "no message for a file the program chose";
    PrinterSetup::printer().setOutputFileName(QString());
    PrinterSetup::printer().setOutputFormat(QPrinter::NativeFormat);

    setFileDialogHandler(previousFiles);
    setMessageHandler(previousMessages);
}

} // namespace
