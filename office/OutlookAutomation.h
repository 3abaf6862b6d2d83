#pragma once

#include "office/OfficeAutomation.h"

namespace office {

// Drives the mail and organiser server "Outlook.Application": the MAPI namespace, the item
// collections of eight default folders, one current item (OBJECT) that is created, looked up,
// found or fetched, and its properties. Like the base, no operation checks an answer: a find that
// answers no object gives 5, an empty answer reads as 0. The prefix stays empty.
class OutlookAutomation : public OfficeAutomation
{
public:
    // Search results.
    static constexpr uint8_t kFound = 0;
    static constexpr uint8_t kNotFound = 5;

    int32_t GetAlignment() override;
    void Init(platform::ui::Window* window, int32_t control, uint8_t create, uint8_t activate,
              uint8_t visible) override;
    void SetAlignment(uint8_t value) override;
    void CreateApplication() override;

    // The current item.
    virtual void AddAttachment(std::string_view path);
    virtual void CloseItem();
    // Kinds: Appointment, Contact, Journal, Mail, Note, Post, Task (any case, trailing blanks
    // ignored); another kind sends nothing and keeps the current item.
    virtual void CreateItem(std::string_view kind);
    // With a blank entry id these act on the current item, else on the item with that id, which
    // becomes current.
    virtual void DeleteItem(std::string_view entryId);
    virtual void DisplayItem();
    virtual void MarkComplete(std::string_view entryId);
    virtual void PrintItem(std::string_view entryId);
    // Saves the current item and answers its entry id, blank-padded to 255 characters.
    virtual std::string SaveItem();
    virtual void SaveItemAs(std::string_view fileName, uint8_t type);
    virtual void GetItemFromID(std::string_view entryId);
    virtual void Send();
    // Asks the question (Yes/No) and sends on Yes; on No shows the cancel text.
    virtual void SendWithConfirmation(std::string_view question, std::string_view cancelText);

    // Calendar.
    virtual uint8_t FindAppointment(std::string_view filter);
    virtual uint8_t FindAppointmentBySubject(std::string_view subject);
    virtual uint8_t FindNextAppointment();
    virtual uint8_t GetAppointment(int32_t position);
    virtual int32_t CountAppointments();

    // Contacts.
    virtual uint8_t FindContact(std::string_view filter);
    virtual uint8_t FindContactByCompany(std::string_view company);
    virtual uint8_t FindContactByCustomerId(std::string_view customerId);
    virtual uint8_t FindContactByEmail(std::string_view email);
    virtual uint8_t FindContactByFullName(std::string_view fullName);
    virtual uint8_t FindNextContact();
    virtual uint8_t GetContact(int32_t position);
    virtual int32_t CountContacts();

    // Contact properties of the current item.
    virtual std::string GetContactAccount();
    virtual std::string GetContactAnniversary();
    virtual std::string GetContactAssistantName();
    virtual std::string GetContactAssistantTelephoneNumber();
    virtual std::string GetContactCallbackTelephoneNumber();
    virtual std::string GetContactBirthday();
    virtual std::string GetContactBusinessAddress();
    virtual std::string GetContactBusinessAddressCity();
    virtual std::string GetContactBusinessAddressCountry();
    virtual std::string GetContactBusinessFaxNumber();
    virtual std::string GetContactBusinessHomePage();
    virtual std::string GetContactBusinessAddressPostalCode();
    virtual std::string GetContactBusinessTelephoneNumber();
    virtual std::string GetContactBusiness2TelephoneNumber();
    virtual std::string GetContactBusinessAddressState();
    virtual std::string GetContactBusinessAddressStreet();
    virtual std::string GetContactCompanyAndFullName();
    virtual std::string GetContactCompanyName();
    virtual std::string GetContactCustomerID();
    virtual std::string GetContactDepartment();
    virtual std::string GetContactEMail1Address();
    virtual std::string GetContactEmail1EntryID();
    virtual std::string GetContactEmail2Address();
    virtual std::string GetContactEmail2EntryID();
    virtual std::string GetContactEmail3Address();
    virtual std::string GetContactEmail3EntryID();
    virtual std::string GetContactEmail1DisplayName();
    virtual std::string GetContactEmail2DisplayName();
    virtual std::string GetContactEmail3DisplayName();
    virtual std::string GetContactFTPSite();
    virtual std::string GetContactFirstName();
    virtual std::string GetContactFullname();
    virtual std::string GetContactGender();
    virtual std::string GetContactHomeAddress();
    virtual std::string GetContactHomeAddressCity();
    virtual std::string GetContactHomeAddressCountry();
    virtual std::string GetContactHomeFaxNumber();
    virtual std::string GetContactHomeAddressPostalCode();
    virtual std::string GetContactHomeTelephoneNumber();
    virtual std::string GetContactHome2TelephoneNumber();
    virtual std::string GetContactHomeAddressState();
    virtual std::string GetContactHomeAddressStreet();
    virtual std::string GetContactMobileTelephoneNumber();
    virtual void SetContactAccount(std::string_view value);
    virtual void SetContactAnniversary(std::string_view value);
    virtual void SetContactAssistantName(std::string_view value);
    virtual void SetContactAssistantTelephoneNumber(std::string_view value);
    virtual void SetContactCallbackTelephoneNumber(std::string_view value);
    virtual void SetContactBirthday(std::string_view value);
    virtual void SetContactBusinessAddress(std::string_view value);
    virtual void SetContactBusinessAddressCity(std::string_view value);
    virtual void SetContactBusinessAddressCountry(std::string_view value);
    virtual void SetContactBusinessFaxNumber(std::string_view value);
    virtual void SetContactBusinessHomePage(std::string_view value);
    virtual void SetContactBusinessAddressPostalCode(std::string_view value);
    virtual void SetContactBusinessTelephoneNumber(std::string_view value);
    virtual void SetContactBusiness2TelephoneNumber(std::string_view value);
    virtual void SetContactBusinessAddressState(std::string_view value);
    virtual void SetContactBusinessAddressStreet(std::string_view value);
    virtual void SetContactCompanyName(std::string_view value);
    virtual void SetContactCustomerID(std::string_view value);
    virtual void SetContactDepartment(std::string_view value);
    virtual void SetContactEMail1Address(std::string_view value);
    virtual void SetContactEmail2Address(std::string_view value);
    virtual void SetContactEmail3Address(std::string_view value);
    virtual void SetContactEmail1DisplayName(std::string_view value);
    virtual void SetContactEmail2DisplayName(std::string_view value);
    virtual void SetContactEmail3DisplayName(std::string_view value);
    virtual void SetContactFTPSite(std::string_view value);
    virtual void SetContactFirstName(std::string_view value);
    virtual void SetContactFullname(std::string_view value);
    virtual void SetContactGender(int32_t value);
    virtual void SetContactHomeAddress(std::string_view value);
    virtual void SetContactHomeAddressCity(std::string_view value);
    virtual void SetContactHomeAddressCountry(std::string_view value);
    virtual void SetContactHomeFaxNumber(std::string_view value);
    virtual void SetContactHomeAddressPostalCode(std::string_view value);
    virtual void SetContactHomeTelephoneNumber(std::string_view value);
    virtual void SetContactHome2TelephoneNumber(std::string_view value);
    virtual void SetContactHomeAddressState(std::string_view value);
    virtual void SetContactHomeAddressStreet(std::string_view value);
    virtual void SetContactMobileTelephoneNumber(std::string_view value);

    // Journal.
    virtual uint8_t FindJournalEntry(std::string_view filter);
    virtual uint8_t FindJournalEntryBySubject(std::string_view subject);
    virtual uint8_t FindNextJournalEntry();
    virtual uint8_t GetJournalEntry(int32_t position);
    virtual int32_t CountJournalEntries();

    // Mail folders.
    virtual int32_t CountInbox();
    virtual int32_t CountOutbox();
    virtual int32_t CountSentMail();

    // Recipients.
    virtual std::string GetBCC();
    virtual std::string GetCC();
    virtual std::string GetFrom();
    virtual std::string GetTo();
    virtual void SetBCC(std::string_view value);
    virtual void SetCC(std::string_view value);
    virtual void SetFrom(std::string_view value);
    virtual void SetTo(std::string_view value);

    // Notes.
    virtual uint8_t FindNote(std::string_view filter);
    virtual uint8_t FindNoteBySubject(std::string_view subject);
    virtual uint8_t FindNextNote();
    virtual uint8_t GetNote(int32_t position);
    virtual int32_t CountNotes();
    virtual int32_t GetNoteHeight();
    virtual int32_t GetNoteLeft();
    virtual int32_t GetNoteColor();
    virtual int32_t GetNoteTop();
    virtual int32_t GetNoteWidth();
    virtual void SetNoteLeft(int32_t left);
    virtual void SetNoteHeight(int32_t height);
    virtual void MoveNote(int32_t left, int32_t top);
    virtual void SetNoteColor(uint8_t colour);
    virtual void SetNoteTop(int32_t top);
    virtual void SetNoteWidth(int32_t width);

    // Tasks.
    virtual uint8_t FindTask(std::string_view filter);
    virtual uint8_t FindTaskByDueDate(std::string_view dueDate);
    virtual uint8_t FindTaskByStartDate(std::string_view startDate);
    virtual uint8_t FindTaskByStatus(std::string_view status);
    virtual uint8_t FindTaskBySubject(std::string_view subject);
    virtual uint8_t FindNextTask();
    virtual uint8_t GetTask(int32_t position);
    virtual int32_t CountTasks();
    virtual int32_t GetTaskActualWork();
    virtual std::string GetTaskDateCompleted();
    virtual std::string GetTaskDueDate();
    virtual int32_t GetTaskOrdinal();
    virtual int32_t GetTaskPercentComplete();
    virtual std::string GetTaskStartDate();
    virtual int32_t GetTaskStatus();
    virtual int32_t GetTaskTotalWork();
    virtual void SetTaskActualWork(int32_t value);
    virtual void SetTaskDateCompleted(std::string_view value);
    virtual void SetTaskDueDate(std::string_view value);
    virtual void SetTaskOrdinal(int16_t value);
    virtual void SetTaskPercentComplete(int16_t value);
    virtual void SetTaskStartDate(std::string_view value);
    virtual void SetTaskStatus(uint8_t value);
    virtual void SetTaskTotalWork(int32_t value);

    // Any item.
    virtual std::string GetBillingInformation();
    virtual std::string GetBody();
    virtual std::string GetCompanies();
    virtual std::string GetUserProperty(std::string_view name);
    virtual std::string GetEnd();
    virtual std::string GetEntryId();
    virtual int32_t GetImportance();
    virtual std::string GetMileage();
    // Reads ".ReminderTime" twice and joins the two answers with ",".
    virtual std::string GetReminderTime();
    virtual std::string GetReminderSoundFile();
    virtual int32_t GetSensitivity();
    virtual std::string GetStart();
    virtual std::string GetSubject();
    virtual void SetBillingInformation(std::string_view value);
    virtual void SetBody(std::string_view value);
    virtual void SetCompanies(std::string_view value);
    virtual void SetUserProperty(std::string_view name, std::string_view value);
    // Date and time go out as one text: the date, one blank, the time.
    virtual void SetEnd(std::string_view date, std::string_view time);
    virtual void SetHTMLBody(std::string_view value);
    virtual void SetImportance(uint8_t value);
    virtual void SetMileage(std::string_view value);
    // Switches the reminder on, then sets its time.
    virtual void SetReminder(std::string_view date, std::string_view time);
    // Overrides the default sound and plays the given file.
    virtual void SetReminderSound(std::string_view soundFile);
    virtual void SetSensitivity(uint8_t value);
    virtual void SetStart(std::string_view date, std::string_view time);
    virtual void SetSubject(std::string_view value);

    // The stored references (each the answer's first 19 characters, blanks included).
    const std::string& calendar() const { return m_calendar; }
    const std::string& contacts() const { return m_contacts; }
    const std::string& inbox() const { return m_inbox; }
    const std::string& journal() const { return m_journal; }
    const std::string& nameSpace() const { return m_namespace; }
    const std::string& notes() const { return m_notes; }
    const std::string& outbox() const { return m_outbox; }
    const std::string& sentMail() const { return m_sentMail; }
    const std::string& tasks() const { return m_tasks; }
    // SAVEMODE: the argument CloseItem hands to Close; no operation of the class writes it.
    uint8_t saveMode() const { return m_saveMode; }
    void setSaveMode(uint8_t mode) { m_saveMode = mode; }

private:
    std::string reference(std::string_view path);
    std::string readText(std::string_view property);
    int32_t readNumber(std::string_view property);
    void write(std::string_view property, std::string_view value);
    void runOnItem(std::string_view entryId, std::string_view method);
    uint8_t find(const std::string& folder, std::string_view filter);
    uint8_t findNext(const std::string& folder);
    uint8_t fetch(const std::string& folder, int32_t position);
    int32_t count(const std::string& folder);
    uint8_t searchResult() const;
    static std::string number(long long value) { return std::to_string(value); }

    std::string m_calendar;
    std::string m_contacts;
    std::string m_inbox;
    std::string m_journal;
    std::string m_namespace;
    std::string m_notes;
    std::string m_outbox;
    uint8_t m_saveMode = 0;
    std::string m_sentMail;
    std::string m_tasks;
};

} // namespace office
