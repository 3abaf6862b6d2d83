#include "app/dictionary/Dictionary.h"
#include "app/pechzakaz/Pechzakaz.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Clock.h"
#include "platform/ui/Event.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/UserInput.h"
#include "tests/support/LoopbackPrintService.h"
#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

using namespace platform::ui;
using platform::text::w;
using testsupport::LoopbackPrintService;

namespace {

// The printed order on a real print queue of the test's own service.
class PechzakazQueue : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_service = std::make_unique<LoopbackPrintService>();
        if (!m_service->failure().empty())
            GTEST_SKIP() << m_service->failure();
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        ASSERT_EQ(app::RelateREKV->open(), 0);
        Clock::setFixed(2026, 3, 5, 9, 7);
        app::KORZAK().clearBuffer();
        app::K().KOD = 7;
        app::K().OBOZ = w("OB-7");
        app::K().NAIM = w("Фильтр");
        app::K().KOL = 2;
        app::K().CENA = 1.5;
        app::K().SUMMA = 3;
        ASSERT_EQ(app::KORZAK().add(), 0);
        QPrinter& printer = PrinterSetup::printer();
        printer.setOutputFileName(QString());
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(LoopbackPrintService::queue());
        ASSERT_EQ(printer.printerName(), LoopbackPrintService::queue());
    }
    void TearDown() override
    {
        if (!app::RelateKORZAK)
            return;
        Clock::clearFixed();
        app::RelateREKV->close();
        app::RelateKORZAK->close();
        app::DictionaryKill();
        PrinterSetup::printer().setOutputFileName(QString());
        PrinterSetup::printer().setOutputFormat(QPrinter::NativeFormat);
    }

    // Prints the order; the texts of the message boxes it showed (UTF-8).
    std::vector<std::string> print()
    {
        TestDriver driver;
        driver.answerMessage(Button::Ok);
        app::pechzakaz();
        std::vector<std::string> texts;
        for (const auto& shown : driver.messages()) {
            EXPECT_EQ(shown.caption, w("Ошибка"));
            texts.push_back(platform::text::cp1251ToUtf8(shown.text));
        }
        return texts;
    }

    std::string admin(const char* program, const QStringList& arguments)
    {
        return m_service->command(QString::fromLatin1(program), arguments);
    }

    static std::string pdfTitle(const std::filesystem::path& file)
    {
        QProcess process;
        process.start(QStringLiteral("pdfinfo"), {QString::fromStdString(file.string())});
        process.waitForFinished(20000);
        for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(
                 QLatin1Char('\n')))
            if (line.startsWith(QStringLiteral("Title:")))
                return line.mid(6).trimmed().toStdString();
        return {};
    }

    testsupport::TempWorkFolder m_folder;
    std::unique_ptr<LoopbackPrintService> m_service;
};

using Messages = std::vector<std::string>;

// A queue that refuses the job, a stopped printer, a queue that will not take this user's job,
// a queue that is gone and a PDF file that cannot be written: each is said, and nothing prints.
TEST_F(PechzakazQueue, EveryFailureOfThePrintJobIsSaid)
{
    const QString office = LoopbackPrintService::queue();
    admin("cupsreject", {QStringLiteral("-r"), QStringLiteral("Бумага кончилась"), office});
    EXPECT_EQ(print(), Messages{"Не удалось напечатать заказ на принтере office: принтер не "
                                "принимает задания (Бумага кончилась)"});
    EXPECT_EQ(LastResponse, static_cast<uint8_t>(Response::Cancelled));

    admin("cupsaccept", {office});
    admin("cupsdisable", {QStringLiteral("-r"), QStringLiteral("Замятие бумаги"), office});
    EXPECT_EQ(print(), Messages{"Не удалось напечатать заказ на принтере office: принтер "
                                "остановлен (Замятие бумаги)"});

    // Open and accepting, but not for this user: only the handing over itself is refused.
    admin("cupsenable", {office});
    admin("lpadmin", {QStringLiteral("-p"), office, QStringLiteral("-u"),
                      QStringLiteral("allow:nobody")});
    const Messages refused = print();
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].rfind("Не удалось напечатать заказ на принтере office: очередь не "
                               "приняла задание (",
                               0),
              0u)
        << refused[0];
    EXPECT_EQ(LastResponse, static_cast<uint8_t>(Response::Cancelled));

    // Another printer stays installed, so the program does not fall back to a PDF file.
    m_service->addQueue(QStringLiteral("spare"));
    admin("lpadmin", {QStringLiteral("-x"), office});
    EXPECT_EQ(print(), Messages{"Не удалось напечатать заказ на принтере office: такой очереди "
                                "печати нет"});
    EXPECT_TRUE(m_service->jobs().empty()) << "a refused order left a job in the queue";
    EXPECT_FALSE(std::filesystem::exists(m_service->printedFile()));

    const auto missing = m_folder.file("no-such-folder");
    PrinterSetup::printer().setOutputFormat(QPrinter::PdfFormat);
    PrinterSetup::printer().setOutputFileName(QString::fromStdString((missing / "o.pdf").string()));
    EXPECT_EQ(print(), Messages{"Не удалось напечатать заказ на принтере PDF: нет папки " +
                                missing.string()});
}

// The job is named for the order in the queue and in the printed PDF, and the printer set-up
// dialog's buttons say that they confirm or cancel the set-up, which prints nothing.
TEST_F(PechzakazQueue, TheJobIsNamedForTheOrderAndTheSetUpDialogOnlySetsUp)
{
    EXPECT_EQ(print(), Messages{});
    ASSERT_TRUE(m_service->waitCompleted());
    ASSERT_EQ(m_service->jobs().size(), 1u);
    EXPECT_EQ(m_service->jobs()[0].title, "Заказ");
    EXPECT_EQ(pdfTitle(m_service->printedFile()), "Заказ");

    app::REKV().clearBuffer();
    app::REK().NAIM = w("ООО Ромашка");
    ASSERT_EQ(app::REKV().add(), 0);
    EXPECT_EQ(print(), Messages{});
    ASSERT_TRUE(m_service->waitCompleted());
    ASSERT_EQ(m_service->jobs().size(), 2u);
    EXPECT_EQ(m_service->jobs()[1].title, "Заказ от ООО Ромашка");
    EXPECT_EQ(pdfTitle(m_service->printedFile()), "Заказ от ООО Ромашка");

    QStringList captions;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || !captions.isEmpty())
            return;
        QPushButton* confirm = nullptr;
        for (auto* buttons : dialog->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* button : buttons->buttons())
                if (button->isVisible()) {
                    const auto role = buttons->buttonRole(button);
                    if (role == QDialogButtonBox::AcceptRole ||
                        role == QDialogButtonBox::RejectRole)
                        captions << button->text();
                    if (role == QDialogButtonBox::AcceptRole)
                        confirm = qobject_cast<QPushButton*>(button);
                }
        if (confirm)
            UserInput::click(dialog, confirm->mapTo(dialog, confirm->rect().center()));
        else
            dialog->reject();
    });
    watch.start(50);
    EXPECT_TRUE(PrinterSetup::run());
    watch.stop();
    captions.sort();
    EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(), "OK|Отмена");
    ASSERT_TRUE(m_service->waitCompleted());
    EXPECT_EQ(m_service->jobs().size(), 2u) << "the set-up printed something";
}

} // namespace
