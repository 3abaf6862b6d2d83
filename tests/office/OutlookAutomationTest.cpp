#include "RecordingServer.h"

#include "office/OutlookAutomation.h"
#include "platform/automation/outlook/ItemFilter.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

using officetest::RecordingTest;
using platform::text::w;
using Texts = std::vector<std::string>;

namespace {

// A stored reference: the answer's first 19 characters, blanks included.
std::string stored(const std::string& reference)
{
    std::string text = reference;
    text.resize(19, ' ');
    return text;
}

const std::string NS = stored("`1");
const std::string CALENDAR = stored("`9");
const std::string CONTACTS = stored("`10");
const std::string INBOX = stored("`6");
const std::string JOURNAL = stored("`11");
const std::string NOTES = stored("`12");
const std::string OUTBOX = stored("`4");
const std::string SENT = stored("`5");
const std::string TASKS = stored("`13");
const std::string ITEM = stored("`20");

class OutlookAutomationTest : public RecordingTest
{
protected:
    OutlookAutomationTest() { m_progId = "Outlook.Application"; }

    void SetUp() override
    {
        RecordingTest::SetUp();
        auto& answers = m_recording->answers;
        answers["GetNameSpace(\"MAPI\")"] = "`1";
        for (int folder : {9, 10, 6, 11, 12, 4, 5, 13})
            answers[NS + ".GetDefaultFolder(" + std::to_string(folder) + ").Items"] =
                "`" + std::to_string(folder);
        answers["CreateItem(0)"] = "`20";
    }
    // Started as the save window starts it: create 1, activate 0, visible 0.
    void start()
    {
        m_outlook.Init(m_window.get(), 1, 1, 0, 0);
        texts().clear();
    }
    office::OutlookAutomation m_outlook;
};

TEST_F(OutlookAutomationTest, InitOpensTheNamespaceThenTheEightFoldersInOrder)
{
    m_outlook.Init(m_window.get(), 1, 1, 0, 0);
    EXPECT_EQ(ole().progId(), "Outlook.Application");
    EXPECT_EQ(ole().language(), 1033);
    Texts expected{"write Visible = 0", "read GetNameSpace(\"MAPI\")"};
    for (int folder : {9, 10, 6, 11, 12, 4, 5, 13})
        expected.push_back("read " + NS + ".GetDefaultFolder(" + std::to_string(folder) +
                           ").Items");
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(m_outlook.nameSpace(), NS);
    EXPECT_EQ(m_outlook.calendar(), CALENDAR);
    EXPECT_EQ(m_outlook.contacts(), CONTACTS);
    EXPECT_EQ(m_outlook.inbox(), INBOX);
    EXPECT_EQ(m_outlook.journal(), JOURNAL);
    EXPECT_EQ(m_outlook.notes(), NOTES);
    EXPECT_EQ(m_outlook.outbox(), OUTBOX);
    EXPECT_EQ(m_outlook.sentMail(), SENT);
    EXPECT_EQ(m_outlook.tasks(), TASKS);
}

TEST_F(OutlookAutomationTest, AFolderTheServerCannotGiveLeavesItsReferenceBlank)
{
    m_recording->answers.erase(NS + ".GetDefaultFolder(11).Items");
    start();
    EXPECT_EQ(m_outlook.journal(), stored(""));
    m_outlook.CountJournalEntries();
    EXPECT_EQ(texts(), (Texts{"read " + stored("") + ".Count"}));
}

TEST_F(OutlookAutomationTest, CreateItemMatchesTheSevenKindsWithoutRegardToCase)
{
    start();
    m_outlook.CreateItem("Mail");
    m_outlook.CreateItem("mail");
    m_outlook.CreateItem("MAIL   ");
    m_outlook.CreateItem("Task");
    m_outlook.CreateItem("appointment");
    m_outlook.CreateItem("Contact");
    m_outlook.CreateItem("Journal");
    m_outlook.CreateItem("Note");
    m_outlook.CreateItem("Post");
    EXPECT_EQ(texts(), (Texts{"read CreateItem(0)", "read CreateItem(0)", "read CreateItem(0)",
                              "read CreateItem(3)", "read CreateItem(1)", "read CreateItem(2)",
                              "read CreateItem(4)", "read CreateItem(5)", "read CreateItem(6)"}));
}

TEST_F(OutlookAutomationTest, AnUnknownKindSendsNothingAndKeepsTheCurrentItem)
{
    start();
    m_outlook.CreateItem("Mail");
    EXPECT_EQ(m_outlook.object(), ITEM);
    texts().clear();
    m_outlook.CreateItem("Letter");
    m_outlook.CreateItem("");
    m_outlook.CreateItem(" MAIL"); // leading blanks count
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(m_outlook.object(), ITEM);
}

TEST_F(OutlookAutomationTest, TheMailRoadSendsExactlyItsTexts)
{
    m_recording->answers[ITEM + ".Attachments"] = "`21";
    start();
    m_outlook.CreateItem("Mail");
    m_outlook.SetTo("manager@example.ru");
    m_outlook.SetSubject(w("Заказ от ООО Ромашка"));
    m_outlook.SetBody(w("Заказ в аттачменте"));
    m_outlook.AddAttachment("/home/u/order 1.txt");
    m_outlook.Send();
    m_outlook.CloseItem();
    EXPECT_EQ(texts(), (Texts{"read CreateItem(0)", "write " + ITEM + ".To = manager@example.ru",
                              "write " + ITEM + ".Subject = " + w("Заказ от ООО Ромашка"),
                              "write " + ITEM + ".Body = " + w("Заказ в аттачменте"),
                              "read " + ITEM + ".Attachments",
                              "read " + stored("`21") + ".Add(\"/home/u/order 1.txt\")",
                              "read " + ITEM + ".Send", "read " + ITEM + ".Close(0)"}));
}

TEST_F(OutlookAutomationTest, CloseItemHandsOnTheSaveMode)
{
    start();
    m_outlook.CloseItem(); // a new object: no head
    m_outlook.setSaveMode(1);
    m_outlook.CloseItem();
    EXPECT_EQ(texts(), (Texts{"read .Close(0)", "read .Close(1)"}));
}

TEST_F(OutlookAutomationTest, LookupsTakeTheEntryIdBetweenQuotesWithoutTrailingBlanks)
{
    m_recording->answers[NS + ".GetItemFromID(\"  00AB\")"] = "`30";
    m_recording->answers[NS + ".GetItemFromID(\"00CD\")"] = "`31";
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    m_outlook.DeleteItem("");
    m_outlook.DeleteItem("    ");
    m_outlook.GetItemFromID("  00AB   ");
    EXPECT_EQ(m_outlook.object(), stored("`30"));
    m_outlook.DeleteItem("00CD");
    EXPECT_EQ(m_outlook.object(), stored("`31")); // stays current after the delete
    m_outlook.MarkComplete("00CD ");
    m_outlook.PrintItem("");
    EXPECT_EQ(
        texts(),
        (Texts{"read " + ITEM + ".Delete", "read " + ITEM + ".Delete",
               "read " + NS + ".GetItemFromID(\"  00AB\")",
               "read " + NS + ".GetItemFromID(\"00CD\")", "read " + stored("`31") + ".Delete",
               "read " + NS + ".GetItemFromID(\"00CD\")", "read " + stored("`31") + ".MarkComplete",
               "read " + stored("`31") + ".PrintOut"}));
    // An id nothing answers to leaves no current item.
    m_outlook.GetItemFromID("gone");
    EXPECT_EQ(m_outlook.object(), stored(""));
}

TEST_F(OutlookAutomationTest, SaveAnswersThePaddedEntryIdAndSaveAsSendsTheNameQuoted)
{
    m_recording->answers[ITEM + ".EntryID"] = "0000000A";
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    const std::string id = m_outlook.SaveItem();
    EXPECT_EQ(id.size(), 255u);
    EXPECT_EQ(id.substr(0, 9), "0000000A ");
    m_outlook.SaveItemAs("C:\\a\\b.msg", 3);
    m_outlook.DisplayItem();
    EXPECT_EQ(texts(),
              (Texts{"read " + ITEM + ".Save", "read " + ITEM + ".EntryID",
                     "read " + ITEM + ".SaveAs(\"C:\\a\\b.msg\",3)", "read " + ITEM + ".Display"}));
}

// Every text an operation puts into its path reaches the server whole, however odd: the
// attachment's file name, the file of SaveAs, an entry id, a user property's name, a filter, and
// the value a find by a field looks for, which the server's filter reads back as given.
TEST_F(OutlookAutomationTest, EveryTextInAPathReadsBackWhole)
{
    const std::string odd = officetest::oddText();
    m_recording->answers[ITEM + ".Attachments"] = "`21";
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    m_outlook.AddAttachment(odd);
    m_outlook.SaveItemAs(odd, 3);
    m_outlook.SetUserProperty(odd, "5");
    m_outlook.GetUserProperty(odd);
    m_outlook.FindTask(odd);
    m_outlook.GetItemFromID(odd);
    for (const std::string& text : texts()) {
        if (text == "read " + ITEM + ".Attachments")
            continue;
        EXPECT_EQ(officetest::quotedArguments(text), Texts{odd}) << text;
    }

    texts().clear();
    m_outlook.FindContactByFullName(odd);
    m_outlook.FindNoteBySubject("O'Brien");
    ASSERT_EQ(texts().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const auto filterText = officetest::quotedArguments(texts()[i]);
        ASSERT_EQ(filterText.size(), 1u) << texts()[i];
        std::string why;
        const auto filter = platform::automation::outlook::ItemFilter::parse(filterText[0], &why);
        ASSERT_TRUE(filter) << why;
        EXPECT_EQ(filter->value(), i == 0 ? odd : "O'Brien");
    }
    EXPECT_EQ(texts()[1], "read " + NOTES + ".Find(\"[Subject] = 'O''Brien'\")");
}

TEST_F(OutlookAutomationTest, SendWithConfirmationSendsOnlyOnYes)
{
    std::vector<platform::ui::MessageRequest> boxes;
    unsigned answer = platform::ui::Button::No;
    const auto previous =
        platform::ui::setMessageHandler([&](const platform::ui::MessageRequest& box) {
            boxes.push_back(box);
            return answer;
        });
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    m_outlook.SendWithConfirmation("Send it?", "Not sent");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Confirmation");
    EXPECT_EQ(boxes[0].icon, platform::ui::MessageIcon::Question);
    EXPECT_EQ(boxes[0].buttons, platform::ui::Button::Yes | platform::ui::Button::No);
    EXPECT_EQ(boxes[1].text, "Not sent");
    EXPECT_EQ(boxes[1].caption, "Message Cancelled");
    EXPECT_EQ(boxes[1].icon, platform::ui::MessageIcon::Exclamation);
    EXPECT_EQ(boxes[1].buttons, 0u);
    EXPECT_TRUE(texts().empty());

    boxes.clear();
    answer = platform::ui::Button::Yes;
    m_outlook.SendWithConfirmation("Send it?", "Not sent");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(texts(), (Texts{"read " + ITEM + ".Send"}));
    platform::ui::setMessageHandler(previous);
}

TEST_F(OutlookAutomationTest, FindsBuildTheirFiltersOnTheirOwnFolders)
{
    start();
    m_outlook.FindContactByCompany("ABC");
    m_outlook.FindContactByCustomerId("7");
    m_outlook.FindContactByEmail("a@b.c");
    m_outlook.FindContactByFullName("Ivan");
    m_outlook.FindAppointmentBySubject("S");
    m_outlook.FindJournalEntryBySubject("S");
    m_outlook.FindNoteBySubject("S");
    m_outlook.FindTaskBySubject("S");
    m_outlook.FindTaskByDueDate("01.02.2023");
    m_outlook.FindTaskByStartDate("02.02.2023");
    m_outlook.FindTaskByStatus("2");
    m_outlook.FindTask("[Status] = 'x'");
    EXPECT_EQ(texts(), (Texts{"read " + CONTACTS + ".Find(\"[Company] = 'ABC'\")",
                              "read " + CONTACTS + ".Find(\"[CustomerId] = '7'\")",
                              "read " + CONTACTS + ".Find(\"[Email1Address] = 'a@b.c'\")",
                              "read " + CONTACTS + ".Find(\"[FullName] = 'Ivan'\")",
                              "read " + CALENDAR + ".Find(\"[Subject] = 'S'\")",
                              "read " + JOURNAL + ".Find(\"[Subject] = 'S'\")",
                              "read " + NOTES + ".Find(\"[Subject] = 'S'\")",
                              "read " + TASKS + ".Find(\"[Subject] = 'S'\")",
                              "read " + TASKS + ".Find(\"[DueDate] = '01.02.2023'\")",
                              "read " + TASKS + ".Find(\"[StartDate] = '02.02.2023'\")",
                              "read " + TASKS + ".Find(\"[Status] = '2'\")",
                              "read " + TASKS + ".Find(\"[Status] = 'x'\")"}));
}

TEST_F(OutlookAutomationTest, AFindThatMatchesNothingLeavesNoCurrentItem)
{
    m_recording->answers[TASKS + ".Find(\"[Subject] = 'A'\")"] = "`40";
    m_recording->answers[TASKS + ".FindNext()"] = "`41";
    start();
    EXPECT_EQ(m_outlook.FindTaskBySubject("A"), 0);
    EXPECT_EQ(m_outlook.object(), stored("`40"));
    EXPECT_EQ(m_outlook.FindNextTask(), 0);
    EXPECT_EQ(m_outlook.object(), stored("`41"));
    EXPECT_EQ(m_outlook.FindTaskBySubject("B"), 5);
    EXPECT_EQ(m_outlook.object(), stored(""));
    EXPECT_EQ(m_outlook.FindNextNote(), 5);
    EXPECT_EQ(texts().back(), "read " + NOTES + ".FindNext()");
}

TEST_F(OutlookAutomationTest, FetchesSendThePositionSignedAndCountsReadNumbers)
{
    m_recording->answers[TASKS + ".Item(3)"] = "`42";
    m_recording->answers[INBOX + ".Count"] = "12";
    m_recording->answers[SENT + ".Count"] = "3.9";
    start();
    EXPECT_EQ(m_outlook.GetTask(3), 0);
    EXPECT_EQ(m_outlook.GetTask(-1), 5);
    EXPECT_EQ(m_outlook.GetContact(1), 5);
    EXPECT_EQ(m_outlook.CountInbox(), 12);
    EXPECT_EQ(m_outlook.CountOutbox(), 0); // empty answer
    EXPECT_EQ(m_outlook.CountSentMail(), 3);
    m_outlook.GetAppointment(2);
    m_outlook.GetJournalEntry(2);
    m_outlook.GetNote(2);
    m_outlook.CountAppointments();
    m_outlook.CountContacts();
    m_outlook.CountNotes();
    m_outlook.CountTasks();
    EXPECT_EQ(texts(), (Texts{"read " + TASKS + ".Item(3)", "read " + TASKS + ".Item(-1)",
                              "read " + CONTACTS + ".Item(1)", "read " + INBOX + ".Count",
                              "read " + OUTBOX + ".Count", "read " + SENT + ".Count",
                              "read " + CALENDAR + ".Item(2)", "read " + JOURNAL + ".Item(2)",
                              "read " + NOTES + ".Item(2)", "read " + CALENDAR + ".Count",
                              "read " + CONTACTS + ".Count", "read " + NOTES + ".Count",
                              "read " + TASKS + ".Count"}));
}

TEST_F(OutlookAutomationTest, DatesAndTimesGoOutAsOneTextJoinedByABlank)
{
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    m_outlook.SetStart("01.02.2023", "10:00");
    m_outlook.SetEnd("01.02.2023", "");
    m_outlook.SetReminder("03.02.2023", "09:30");
    m_outlook.SetReminderSound("ding.wav");
    EXPECT_EQ(texts(),
              (Texts{"write " + ITEM + ".Start = 01.02.2023 10:00",
                     "write " + ITEM + ".End = 01.02.2023 ", "write " + ITEM + ".ReminderSet = 1",
                     "write " + ITEM + ".ReminderTime = 03.02.2023 09:30",
                     "write " + ITEM + ".ReminderOverrideDefault = 1",
                     "write " + ITEM + ".ReminderPlaySound = 1",
                     "write " + ITEM + ".ReminderSoundFile = ding.wav"}));
}

TEST_F(OutlookAutomationTest, NumbersAreWrittenSignedAndBytesUnchecked)
{
    m_recording->answers["CreateItem(3)"] = "`22";
    start();
    m_outlook.CreateItem("Task");
    texts().clear();
    m_outlook.SetTaskPercentComplete(-1);
    m_outlook.SetImportance(255);
    m_outlook.SetSensitivity(9);
    m_outlook.SetTaskStatus(2);
    m_outlook.SetTaskOrdinal(-3);
    m_outlook.SetTaskActualWork(60);
    m_outlook.SetTaskTotalWork(-60);
    m_outlook.SetContactGender(-2);
    m_outlook.SetNoteColor(4);
    Texts expected;
    for (const char* text :
         {".PercentComplete = -1", ".Importance = 255", ".Sensitivity = 9", ".Status = 2",
          ".Ordinal = -3", ".ActualWork = 60", ".TotalWork = -60", ".Gender = -2", ".Color = 4"})
        expected.push_back("write " + stored("`22") + text);
    EXPECT_EQ(texts(), expected);
}

TEST_F(OutlookAutomationTest, WithoutACurrentItemPathsGoOutWithoutAHead)
{
    start();
    m_outlook.CreateItem("Task"); // answered with no object
    EXPECT_EQ(m_outlook.object(), stored(""));
    texts().clear();
    m_outlook.SetSubject("x");
    EXPECT_EQ(texts(), (Texts{"write " + stored("") + ".Subject = x"}));
}

TEST_F(OutlookAutomationTest, NotesReadAndWriteTheSamePropertiesAndMoveLeftFirst)
{
    m_recording->answers[ITEM + ".Height"] = "120.7";
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    EXPECT_EQ(m_outlook.GetNoteHeight(), 120);
    m_outlook.SetNoteHeight(130);
    m_outlook.MoveNote(10, 20);
    m_outlook.SetNoteWidth(5);
    EXPECT_EQ(texts(), (Texts{"read " + ITEM + ".Height", "write " + ITEM + ".Height = 130",
                              "write " + ITEM + ".Left = 10", "write " + ITEM + ".Top = 20",
                              "write " + ITEM + ".Width = 5"}));
}

TEST_F(OutlookAutomationTest, UserPropertiesAreNamedBetweenQuotes)
{
    m_recording->answers[ITEM + ".UserProperties(\"Kod\").Value"] = "5";
    start();
    m_outlook.CreateItem("Mail");
    texts().clear();
    m_outlook.SetUserProperty("Kod", "5");
    EXPECT_EQ(m_outlook.GetUserProperty("Kod").substr(0, 2), "5 ");
    EXPECT_EQ(texts(), (Texts{"write " + ITEM + ".UserProperties(\"Kod\").Value = 5",
                              "read " + ITEM + ".UserProperties(\"Kod\").Value"}));
}

TEST_F(OutlookAutomationTest, TextGettersAnswerBlankPaddedAndTheReminderTimeTwice)
{
    m_recording->answers[ITEM + ".Subject"] = w("Тема");
    m_recording->answers[ITEM + ".ReminderTime"] = "01.02.2023 10:00";
    start();
    m_outlook.CreateItem("Mail");
    const std::string subject = m_outlook.GetSubject();
    EXPECT_EQ(subject.size(), 255u);
    EXPECT_EQ(subject.substr(0, 5), w("Тема "));
    const std::string reminder = m_outlook.GetReminderTime();
    EXPECT_EQ(reminder.size(), 511u);
    EXPECT_EQ(reminder[255], ',');
    EXPECT_EQ(reminder.substr(256, 16), "01.02.2023 10:00");
    EXPECT_EQ(m_outlook.GetBody(), std::string(255, ' '));
}

// Each getter reads, and each setter writes, the property its name says: a slip in one of the
// long lists sends a path the server does not know.
TEST_F(OutlookAutomationTest, EveryPropertyGoesToItsOwnPath)
{
    using O = office::OutlookAutomation;
    start();
    const std::vector<std::pair<std::string (O::*)(), std::string>> textGetters{
        {&O::GetBCC, ".BCC"},
        {&O::GetCC, ".CC"},
        {&O::GetFrom, ".From"},
        {&O::GetTo, ".To"},
        {&O::GetContactAccount, ".Account"},
        {&O::GetContactBusiness2TelephoneNumber, ".Business2TelephoneNumber"},
        {&O::GetContactCompanyAndFullName, ".CompanyAndFullName"},
        {&O::GetContactCustomerID, ".CustomerID"},
        {&O::GetContactEMail1Address, ".EMail1Address"},
        {&O::GetContactEmail3EntryID, ".Email3EntryID"},
        {&O::GetContactFullname, ".Fullname"},
        {&O::GetContactGender, ".Gender"},
        {&O::GetContactMobileTelephoneNumber, ".MobileTelephoneNumber"},
        {&O::GetTaskDateCompleted, ".DateCompleted"},
        {&O::GetTaskDueDate, ".DueDate"},
        {&O::GetTaskStartDate, ".StartDate"},
        {&O::GetBillingInformation, ".BillingInformation"},
        {&O::GetCompanies, ".Companies"},
        {&O::GetEnd, ".End"},
        {&O::GetEntryId, ".EntryId"},
        {&O::GetMileage, ".Mileage"},
        {&O::GetReminderSoundFile, ".ReminderSoundFile"},
        {&O::GetStart, ".Start"}};
    for (const auto& [getter, property] : textGetters) {
        texts().clear();
        (m_outlook.*getter)();
        EXPECT_EQ(texts(), (Texts{"read " + property}));
    }
    const std::vector<std::pair<int32_t (O::*)(), std::string>> numberGetters{
        {&O::GetNoteLeft, ".Left"},
        {&O::GetNoteColor, ".Color"},
        {&O::GetNoteTop, ".Top"},
        {&O::GetNoteWidth, ".Width"},
        {&O::GetTaskActualWork, ".ActualWork"},
        {&O::GetTaskOrdinal, ".Ordinal"},
        {&O::GetTaskPercentComplete, ".PercentComplete"},
        {&O::GetTaskStatus, ".Status"},
        {&O::GetTaskTotalWork, ".TotalWork"},
        {&O::GetImportance, ".Importance"},
        {&O::GetSensitivity, ".Sensitivity"}};
    for (const auto& [getter, property] : numberGetters) {
        texts().clear();
        (m_outlook.*getter)();
        EXPECT_EQ(texts(), (Texts{"read " + property}));
    }
    const std::vector<std::pair<void (O::*)(std::string_view), std::string>> textSetters{
        {&O::SetBCC, ".BCC"},
        {&O::SetCC, ".CC"},
        {&O::SetFrom, ".From"},
        {&O::SetContactAnniversary, ".Anniversary"},
        {&O::SetContactBusinessAddressPostalCode, ".BusinessAddressPostalCode"},
        {&O::SetContactCompanyName, ".CompanyName"},
        {&O::SetContactEmail2Address, ".Email2Address"},
        {&O::SetContactEmail3DisplayName, ".Email3DisplayName"},
        {&O::SetContactFTPSite, ".FTPSite"},
        {&O::SetContactHomeAddressStreet, ".HomeAddressStreet"},
        {&O::SetTaskDateCompleted, ".DateCompleted"},
        {&O::SetTaskDueDate, ".DueDate"},
        {&O::SetTaskStartDate, ".StartDate"},
        {&O::SetBillingInformation, ".BillingInformation"},
        {&O::SetCompanies, ".Companies"},
        {&O::SetHTMLBody, ".HTMLBody"},
        {&O::SetMileage, ".Mileage"}};
    for (const auto& [setter, property] : textSetters) {
        texts().clear();
        (m_outlook.*setter)("v");
        EXPECT_EQ(texts(), (Texts{"write " + property + " = v"}));
    }
}

TEST_F(OutlookAutomationTest, AlignmentGoesToTheSelection)
{
    start();
    m_outlook.SetFont("Arial", 10, 0, 1, 0, 3);
    EXPECT_EQ(texts().back(), "write Selection.HorizontalAlignment = 3");
    texts().clear();
    m_outlook.GetAlignment();
    EXPECT_EQ(texts(), (Texts{"read Selection.HorizontalAlignment"}));
}

} // namespace
