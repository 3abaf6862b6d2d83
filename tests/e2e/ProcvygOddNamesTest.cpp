#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "app/procin/Procin.h"
#include "app/procvyg/Procvyg.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "tests/support/MailUserFolders.h"
#include "tests/support/SmtpTestServer.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include "platform/text/RealText.h"

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* SaveTitle = "Сохранение/Выгрузка заказа";
constexpr const char* OpenTitle = "Открытие заказа";

// What once broke an automation path: quotes of both kinds, a backslash, a parenthesis, a comma,
// a semicolon, a format sign, doubled blanks and Cyrillic (UTF-8 here, as typed).
const std::string kFileName = "Заказ \"№1\" (копия), 'юг'; 100%s  итог";
const std::string kCustomer = "ООО \"Рога\" (юг), 'Копыта'; 100%s \\ итог";
const std::string kAddress = "o'hara%s.x@example.ru";

std::string comment200()
{
    const std::string piece = "Срочно: \"1\", (2); 'три' \\ 100%s ";
    std::string text;
    while (QString::fromStdString(text).size() < 200)
        text += piece;
    // No blank at the end: a comment is kept without its trailing blanks.
    return (QString::fromStdString(text).left(199) + u'!').toStdString();
}

// The save window with odd names and texts everywhere: the file name (in a folder named with
// "\", as the user may write it), the comment, the customer's name that makes the mail's
// subject, the manager's address and the basket's texts. The mail goes to a loopback server.
class ProcvygOddNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        ASSERT_EQ(app::RelateREKV->open(), 0);
        ASSERT_EQ(app::RelateSPRMAN->open(), 0);
        addLine(7, "A\"1'\\),%s (x)", "Фильтр \"масляный\", (с) 'кольцом'", "Ардо 100%s");
        addLine(8, "  ведущие", "Свеча\\зажигания", "\"Бриз\"");
        app::REKV().clearBuffer();
        app::REK().NAIM = w(kCustomer);
        ASSERT_EQ(app::REKV().add(), 0);
        app::SPRMAN().clearBuffer();
        app::SPR().NAME = w("Агеев (\"старший\")");
        app::SPR().KMAIL = w(kAddress);
        ASSERT_EQ(app::SPRMAN().add(), 0);
        app::RelateSPRMAN->close();
        app::RelateREKV->close();
        std::filesystem::create_directory(m_folder.file("папка"));
    }
    void TearDown() override
    {
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    static void addLine(int32_t code, const std::string& oboz, const std::string& name,
                        const std::string& maker)
    {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        app::K().OBOZ = w(oboz);
        app::K().NAIM = w(name);
        app::K().PROIZV = w(maker);
        app::K().KOL = 3;
        app::K().CENA = 12.5;
        app::K().SUMMA = 37.5;
        ASSERT_EQ(app::KORZAK().add(), 0);
    }

    static std::string basket()
    {
        std::string out;
        app::KORZAK().setKey(app::K_pokod);
        while (app::KORZAK().next() == 0) {
            const app::KorzakRecord& k = app::K();
            const std::string money = platform::text::realFixedText(k.CENA, 2) + "/" +
                                      platform::text::realFixedText(k.SUMMA, 2);
            out += std::to_string(k.KOD) + "|" + k.OBOZ.str() + "|" + k.NAIM.str() + "|" +
                   k.PROIZV.str() + "|" + std::to_string(k.KOL) + "|" + money + "\n";
        }
        return out;
    }

    static std::string run(TestDriver& driver, const std::function<void()>& procedure)
    {
        return e2e::runAlongside(driver, procedure, 30000);
    }

    // A cell of a saved workbook, as the spreadsheet server reads it, trailing blanks removed.
    std::string cell(const std::string& file, const std::string& range)
    {
        if (!m_cellWindow) {
            platform::automation::OleControl::registerKind();
            WindowDefinition definition;
            definition.kind = "window";
            definition.label = "cells";
            ControlDefinition ole;
            ole.number = 1;
            ole.kind = "ole";
            definition.controls.push_back(ole);
            m_cellWindow = std::make_unique<Window>(definition);
            m_excel.Init(m_cellWindow.get(), 1, 1, 0, 0);
        }
        m_excel.OpenWorkbook(file);
        std::string value = m_excel.GetRangeValue(range);
        m_excel.CloseActiveWindow(0);
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        return value;
    }

    testsupport::TempWorkFolder m_folder;
    testsupport::MailUserFolders m_user;
    std::unique_ptr<Window> m_cellWindow;
    office::ExcelAutomation m_excel;
};

} // namespace

TEST_F(ProcvygOddNames, OddNamesAndTextsAreSavedMailedAndOpenedBack)
{
    testsupport::SmtpTestServer server;
    if (!server.start())
        GTEST_SKIP() << server.why().toStdString();
    m_user.writeAccount(server.port());
    const std::string lines = basket();
    const std::string comment = comment200();

    for (const bool workbook : {false, true}) {
        SCOPED_TRACE(workbook ? "workbook" : "text file");
        const std::string extension = workbook ? ".xls" : ".txt";
        // As the user may type it: "\" between the folder and the name.
        const std::string chosen = (m_folder.path() / "папка").string() + "\\" + kFileName;
        const std::filesystem::path onDisk = m_folder.file("папка") / (kFileName + extension);

        TestDriver saving;
        saving.waitOpen(SaveTitle);
        if (workbook)
            saving.press("?OPTION1:RADIO2");
        saving.answerFile(chosen)
            .press("?BUTTON1")
            .type("?KOMMENT", comment)
            .press("?FLGMAIL")
            .select("?SPR:NAME", 1)
            .answerMessage(Button::Ok) // "Файл заказа сформирован."
            .answerMessage(Button::Ok) // the mail went
            .press("?BUTTON2")
            .waitClose(SaveTitle, 20000);
        EXPECT_EQ(run(saving, [] { app::procvyg(2, 1.5); }), "");
        ASSERT_EQ(saving.messages().size(), 2u);
        EXPECT_EQ(saving.messages()[0].text, w("Файл заказа сформирован."))
            << platform::text::cp1251ToUtf8(saving.messages()[0].text);
        EXPECT_EQ(saving.messages()[1].text, w("Заказ отправлен: Агеев (\"старший\"), " + kAddress))
            << platform::text::cp1251ToUtf8(saving.messages()[1].text);
        ASSERT_TRUE(std::filesystem::exists(onDisk));
        if (workbook) {
            EXPECT_EQ(cell(onDisk.string(), "A2"), w("Заказчик: " + kCustomer));
            EXPECT_EQ(cell(onDisk.string(), "A9"), w("Комментарий к заказу: " + comment));
        } else {
            const std::string text = testsupport::readFileBytes(onDisk);
            EXPECT_NE(text.find(w("#Заказчик: " + kCustomer + "\r\n")), std::string::npos);
            EXPECT_NE(text.find(w("#Комментарий к заказу: " + comment + "\r\n")),
                      std::string::npos);
        }

        const QStringList received = server.messagePaths();
        ASSERT_EQ(received.size(), workbook ? 2 : 1);
        const QJsonObject mail = testsupport::SmtpTestServer::readMessage(received.last());
        EXPECT_EQ(mail[QStringLiteral("to")].toString().toStdString(), kAddress);
        EXPECT_EQ(mail[QStringLiteral("subject")].toString().toStdString(),
                  "Заказ от " + kCustomer);
        const QJsonArray attachments = mail[QStringLiteral("attachments")].toArray();
        ASSERT_EQ(attachments.size(), 1);
        EXPECT_EQ(attachments[0][QStringLiteral("filename")].toString().toStdString(),
                  kFileName + extension);
        EXPECT_EQ(
            QByteArray::fromBase64(attachments[0][QStringLiteral("base64")].toString().toLatin1())
                .toStdString(),
            testsupport::readFileBytes(onDisk));

        // Read back under the name the window showed, into a basket that held something else.
        ASSERT_EQ(app::KORZAK().empty(), 0);
        addLine(99, "OLD", "", "");
        TestDriver opening;
        opening.waitOpen(OpenTitle).waitClose(OpenTitle);
        EXPECT_EQ(run(opening, [&] { app::procin(w(chosen + extension)); }), "");
        EXPECT_TRUE(opening.messages().empty());
        EXPECT_EQ(basket(), lines);
    }
}
