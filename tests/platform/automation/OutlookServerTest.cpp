#include "platform/automation/OleContainer.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/PrinterSetup.h"
#include "tests/support/MailUserFolders.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using platform::automation::OleContainer;
using platform::text::w;

// The mail server driven through the channel, with its store in a temporary user folder.
class OutlookServer : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_ole.create("Outlook.Application")); }

    std::string read(const std::string& path) { return m_ole.read(path); }
    bool write(const std::string& path, const std::string& value)
    {
        return m_ole.write(path, value);
    }
    std::string mapi() { return read("GetNameSpace(\"MAPI\")"); }
    std::string items(int folder)
    {
        return read(mapi() + ".GetDefaultFolder(" + std::to_string(folder) + ").Items");
    }
    int count(int folder) { return std::stoi("0" + read(items(folder) + ".Count")); }
    std::string create(int kind, const std::string& subject)
    {
        const std::string item = read("CreateItem(" + std::to_string(kind) + ")");
        EXPECT_TRUE(write(item + ".Subject", subject));
        return item;
    }
    // The application goes and a new one opens the same store, as at the next start.
    void restart()
    {
        m_ole.deactivate();
        ASSERT_TRUE(m_ole.create("Outlook.Application"));
    }

    testsupport::MailUserFolders m_user;
    OleContainer m_ole;
};

TEST_F(OutlookServer, TheNamespaceGivesTheDefaultFoldersAndNoOthers)
{
    EXPECT_EQ(read("Application.Version"), "11.0");
    EXPECT_TRUE(write("Visible", "0"));
    const std::string ns = mapi();
    ASSERT_FALSE(ns.empty());
    EXPECT_EQ(read("GetNameSpace(\"MAPI\")"), ns) << "one namespace";
    for (int folder : {4, 5, 6, 9, 10, 11, 12, 13}) {
        const std::string folderItems = items(folder);
        EXPECT_FALSE(folderItems.empty()) << folder;
        EXPECT_EQ(items(folder), folderItems) << "the same items object each time";
        EXPECT_EQ(read(folderItems + ".Count"), "0");
    }
    EXPECT_EQ(items(7), "");
    EXPECT_NE(m_ole.lastError().find("no default folder 7"), std::string::npos);
    EXPECT_EQ(read("GetNameSpace(\"OTHER\")"), "");
    EXPECT_EQ(read("CreateItem(7)"), "");
}

TEST_F(OutlookServer, SavedItemsGoToTheirKindsFoldersAndCountForReal)
{
    const std::string task = create(3, "T");
    EXPECT_EQ(count(13), 0) << "not saved yet";
    EXPECT_EQ(read(task + ".EntryID"), "");
    read(task + ".Save");
    const std::string id = read(task + ".EntryID");
    EXPECT_EQ(id.size(), 32u);
    read(task + ".Save");
    EXPECT_EQ(read(task + ".EntryID"), id) << "a second save keeps the id";
    EXPECT_EQ(count(13), 1);
    read(create(2, "C") + ".Save");
    read(create(5, "N") + ".Save");
    read(create(1, "A") + ".Save");
    read(create(4, "J") + ".Save");
    read(create(0, "M") + ".Save"); // drafts
    EXPECT_EQ(count(10), 1);
    EXPECT_EQ(count(12), 1);
    EXPECT_EQ(count(9), 1);
    EXPECT_EQ(count(11), 1);
    EXPECT_EQ(count(13), 1);
    EXPECT_EQ(count(4) + count(5) + count(6), 0);
}

TEST_F(OutlookServer, FindAndFindNextWalkTheMatchesInOrder)
{
    for (const char* subject : {"Alpha", "Beta", "ALPHA", "alpha "})
        read(create(3, subject) + ".Save");
    const std::string tasks = items(13);
    const std::string first = read(tasks + ".Find(\"[Subject] = 'alpha'\")");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(read(first + ".Subject"), "Alpha");
    const std::string second = read(tasks + ".FindNext()");
    EXPECT_EQ(read(second + ".Subject"), "ALPHA");
    EXPECT_EQ(read(read(tasks + ".FindNext()") + ".Subject"), "alpha ");
    EXPECT_EQ(read(tasks + ".FindNext()"), "");
    EXPECT_EQ(m_ole.lastError(), "") << "nothing found is an answer, not a failure";
    EXPECT_EQ(read(tasks + ".FindNext()"), "");
    EXPECT_EQ(read(tasks + ".Find(\"[Subject] = 'Gamma'\")"), "");
    EXPECT_EQ(read(read(tasks + ".Item(2)") + ".Subject"), "Beta");
    EXPECT_EQ(read(tasks + ".Item(1)"), first) << "one object per stored item";
    EXPECT_EQ(read(tasks + ".Item(5)"), "");
    EXPECT_EQ(read(tasks + ".Item(-1)"), "");
    EXPECT_EQ(read(tasks + ".Find(\"Subject = 'Alpha'\")"), "");
    EXPECT_EQ(read(tasks + ".Find(\"[Nonsense] = 'Alpha'\")"), "");
}

TEST_F(OutlookServer, TheFindsOfTheClassFindTheirFields)
{
    const std::string contact = read("CreateItem(2)");
    ASSERT_TRUE(write(contact + ".CompanyName", w("ООО Ромашка")));
    ASSERT_TRUE(write(contact + ".CustomerID", "C-7"));
    ASSERT_TRUE(write(contact + ".EMail1Address", "ivan@example.ru"));
    ASSERT_TRUE(write(contact + ".Fullname", "Ivan Petrov"));
    read(contact + ".Save");
    const std::string contacts = items(10);
    for (const std::string& filter :
         {w("[Company] = 'ооо ромашка'"), std::string("[CustomerId] = 'C-7'"),
          std::string("[Email1Address] = 'IVAN@example.ru'"),
          std::string("[FullName] = 'Ivan Petrov'")})
        EXPECT_EQ(read(contacts + ".Find(\"" + filter + "\")"), contact) << filter;
    EXPECT_EQ(read(contact + ".CompanyAndFullName"), w("ООО Ромашка Ivan Petrov"));

    const std::string task = create(3, "Quote's");
    ASSERT_TRUE(write(task + ".Status", "2"));
    ASSERT_TRUE(write(task + ".DueDate", "01.02.2023"));
    read(task + ".Save");
    const std::string tasks = items(13);
    EXPECT_EQ(read(tasks + ".Find(\"[Status] = '2'\")"), task);
    EXPECT_EQ(read(tasks + ".Find(\"[Status] = '2.0'\")"), task) << "numbers match by value";
    EXPECT_EQ(read(tasks + ".Find(\"[Status] = '1'\")"), "");
    EXPECT_EQ(read(tasks + ".Find(\"[DueDate] = '01.02.2023'\")"), task);
    EXPECT_EQ(read(tasks + ".Find(\"[Subject] = 'Quote''s'\")"), task);
}

TEST_F(OutlookServer, PropertiesKeepTheirTypesAndRefuseWhatTheyCannotHold)
{
    const std::string item = read("CreateItem(3)");
    EXPECT_EQ(read(item + ".Importance"), "1");
    EXPECT_EQ(read(item + ".Subject"), "");
    EXPECT_TRUE(write(item + ".Importance", "2"));
    EXPECT_FALSE(write(item + ".Importance", "255"));
    EXPECT_FALSE(write(item + ".PercentComplete", "-1"));
    EXPECT_FALSE(write(item + ".Status", "done"));
    EXPECT_EQ(read(item + ".Importance"), "2");
    EXPECT_TRUE(write(item + ".ReminderSet", "True"));
    EXPECT_EQ(read(item + ".ReminderSet"), "1");
    EXPECT_TRUE(write(item + ".Start", "01.02.2023 10:00"));
    EXPECT_EQ(read(item + ".Start"), "01.02.2023 10:00");
    EXPECT_TRUE(write(item + ".Body", w("Текст\r\nвторой строкой  ")));
    EXPECT_EQ(read(item + ".Body"), w("Текст\r\nвторой строкой  "));
    EXPECT_FALSE(write(item + ".EntryID", "X"));
    EXPECT_FALSE(write(item + ".NoSuchThing", "X"));
    EXPECT_EQ(read(item + ".NoSuchThing"), "");
    EXPECT_TRUE(write(item + ".UserProperties(\"Kod\").Value", "5"));
    EXPECT_EQ(read(item + ".UserProperties(\"kod\").Value"), "5");
    EXPECT_EQ(read(item + ".UserProperties(\"Other\").Value"), "");
}

TEST_F(OutlookServer, ASavedItemIsFoundByItsEntryIdAfterARestart)
{
    QTemporaryDir folder;
    const QString attached = folder.filePath(QStringLiteral("заказ 1.txt"));
    QFile file(attached);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray bytes("line 1\r\n\xC7\xE0\xEA\xE0\xE7;2\r\n\0end", 20);
    file.write(bytes);
    file.close();

    const std::string mail = create(0, w("Заказ от ООО Ромашка"));
    ASSERT_TRUE(write(mail + ".To", "manager@example.ru"));
    ASSERT_TRUE(write(mail + ".UserProperties(\"Kod\").Value", "5"));
    read(read(mail + ".Attachments") + ".Add(" + platform::text::fromQString(attached) + ")");
    read(mail + ".Save");
    const std::string id = read(mail + ".EntryID");
    QFile::remove(attached); // the item keeps its own copy

    restart();
    const QString lower = QString::fromStdString(id).toLower();
    const std::string found = read(mapi() + ".GetItemFromID(\"" + lower.toStdString() + "\")");
    ASSERT_FALSE(found.empty()) << m_ole.lastError();
    EXPECT_EQ(read(found + ".Subject"), w("Заказ от ООО Ромашка"));
    EXPECT_EQ(read(found + ".To"), "manager@example.ru");
    EXPECT_EQ(read(found + ".UserProperties(\"Kod\").Value"), "5");
    EXPECT_EQ(read(found + ".Attachments.Count"), "1");
    EXPECT_EQ(count(16), 1);

    // The message file carries the copy byte for byte.
    const QString eml = folder.filePath(QStringLiteral("saved.eml"));
    read(found + ".SaveAs(" + platform::text::fromQString(eml) + ",3)");
    QFile saved(eml);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray message = saved.readAll();
    EXPECT_TRUE(message.contains("Subject: =?UTF-8?B?"));
    EXPECT_TRUE(message.contains(bytes.toBase64().left(60)));
    EXPECT_EQ(read(found + ".SaveAs(" + platform::text::fromQString(eml) + ",0)"), "");

    EXPECT_EQ(read(mapi() + ".GetItemFromID(\"NOSUCHID\")"), "");
}

TEST_F(OutlookServer, CloseSavesOrDropsTheChangesAndDeleteRemoves)
{
    const std::string note = create(5, "kept");
    read(note + ".Close(0)");
    EXPECT_EQ(count(12), 1) << "Close(0) saves a new item";
    ASSERT_TRUE(write(note + ".Subject", "changed"));
    read(note + ".Close(1)");
    EXPECT_EQ(read(note + ".Subject"), "kept");
    ASSERT_TRUE(write(note + ".Subject", "changed"));
    read(note + ".Close(0)");
    restart();
    const std::string again = read(items(12) + ".Item(1)");
    EXPECT_EQ(read(again + ".Subject"), "changed");
    const std::string id = read(again + ".EntryID");
    read(again + ".Delete");
    EXPECT_EQ(count(12), 0);
    EXPECT_EQ(read(again + ".Subject"), "") << "a deleted item answers nothing";
    EXPECT_EQ(read(mapi() + ".GetItemFromID(\"" + id + "\")"), "");
}

TEST_F(OutlookServer, MarkCompleteFinishesATaskOnly)
{
    const std::string task = create(3, "T");
    read(task + ".Save");
    read(task + ".MarkComplete");
    EXPECT_EQ(read(task + ".Status"), "2");
    EXPECT_EQ(read(task + ".PercentComplete"), "100");
    EXPECT_FALSE(read(task + ".DateCompleted").empty());
    const std::string mail = create(0, "M");
    EXPECT_EQ(read(mail + ".MarkComplete"), "");
    EXPECT_NE(m_ole.lastError().find("only a task"), std::string::npos);
}

TEST_F(OutlookServer, DisplayShowsAWindowAndPrintOutPrints)
{
    const std::string mail = create(0, w("Тема письма"));
    ASSERT_TRUE(write(mail + ".Body", "Body text"));
    EXPECT_EQ(read(mail + ".Display"), "1");
    QWidget* shown = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("OutlookItemWindow") && widget->isVisible())
            shown = widget;
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), QStringLiteral("Тема письма"));
    shown->close();

    QTemporaryDir folder;
    QPrinter& printer = platform::ui::PrinterSetup::printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("item.pdf")));
    EXPECT_EQ(read(mail + ".PrintOut"), "1") << m_ole.lastError();
    printer.setOutputFileName(QString());
    QFile pdf(folder.filePath(QStringLiteral("item.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}

} // namespace
