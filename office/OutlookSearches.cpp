// The searches, fetches and counts of OutlookAutomation over the stored folder references.
#include "office/OutlookAutomation.h"

#include "platform/automation/AutomationPath.h"

namespace office {

namespace {

// The value goes between the filter's single quotes with each of its own quotes doubled, so a
// subject such as "O'Brien" is looked for as written instead of ending the value early.
std::string filter(std::string_view opening, std::string_view value)
{
    std::string text(opening);
    for (const char c : value) {
        if (c == '\'')
            text += '\'';
        text += c;
    }
    return text + "'";
}

} // namespace

uint8_t OutlookAutomation::searchResult() const
{
    return object().find_first_not_of(' ') == std::string::npos ? kNotFound : kFound;
}

uint8_t OutlookAutomation::find(const std::string& folder, std::string_view text)
{
    setObject(
        GetProperty(folder + ".Find(" + platform::automation::AutomationPath::quoted(text) + ")"));
    return searchResult();
}

uint8_t OutlookAutomation::findNext(const std::string& folder)
{
    setObject(GetProperty(folder + ".FindNext()"));
    return searchResult();
}

uint8_t OutlookAutomation::fetch(const std::string& folder, int32_t position)
{
    setObject(GetProperty(folder + ".Item(" + number(position) + ")"));
    return searchResult();
}

int32_t OutlookAutomation::count(const std::string& folder)
{
    return numberOf(GetProperty(folder + ".Count"));
}

uint8_t OutlookAutomation::FindAppointment(std::string_view text) { return find(m_calendar, text); }
uint8_t OutlookAutomation::FindAppointmentBySubject(std::string_view subject)
{
    return FindAppointment(filter("[Subject] = '", subject));
}
uint8_t OutlookAutomation::FindNextAppointment() { return findNext(m_calendar); }
uint8_t OutlookAutomation::GetAppointment(int32_t position) { return fetch(m_calendar, position); }
int32_t OutlookAutomation::CountAppointments() { return count(m_calendar); }

uint8_t OutlookAutomation::FindContact(std::string_view text) { return find(m_contacts, text); }
uint8_t OutlookAutomation::FindContactByCompany(std::string_view company)
{
    return FindContact(filter("[Company] = '", company));
}
uint8_t OutlookAutomation::FindContactByCustomerId(std::string_view customerId)
{
    return FindContact(filter("[CustomerId] = '", customerId));
}
uint8_t OutlookAutomation::FindContactByEmail(std::string_view email)
{
    return FindContact(filter("[Email1Address] = '", email));
}
uint8_t OutlookAutomation::FindContactByFullName(std::string_view fullName)
{
    return FindContact(filter("[FullName] = '", fullName));
}
uint8_t OutlookAutomation::FindNextContact() { return findNext(m_contacts); }
uint8_t OutlookAutomation::GetContact(int32_t position) { return fetch(m_contacts, position); }
int32_t OutlookAutomation::CountContacts() { return count(m_contacts); }

uint8_t OutlookAutomation::FindJournalEntry(std::string_view text) { return find(m_journal, text); }
uint8_t OutlookAutomation::FindJournalEntryBySubject(std::string_view subject)
{
    return FindJournalEntry(filter("[Subject] = '", subject));
}
uint8_t OutlookAutomation::FindNextJournalEntry() { return findNext(m_journal); }
uint8_t OutlookAutomation::GetJournalEntry(int32_t position) { return fetch(m_journal, position); }
int32_t OutlookAutomation::CountJournalEntries() { return count(m_journal); }

int32_t OutlookAutomation::CountInbox() { return count(m_inbox); }
int32_t OutlookAutomation::CountOutbox() { return count(m_outbox); }
int32_t OutlookAutomation::CountSentMail() { return count(m_sentMail); }

uint8_t OutlookAutomation::FindNote(std::string_view text) { return find(m_notes, text); }
uint8_t OutlookAutomation::FindNoteBySubject(std::string_view subject)
{
    return FindNote(filter("[Subject] = '", subject));
}
uint8_t OutlookAutomation::FindNextNote() { return findNext(m_notes); }
uint8_t OutlookAutomation::GetNote(int32_t position) { return fetch(m_notes, position); }
int32_t OutlookAutomation::CountNotes() { return count(m_notes); }

uint8_t OutlookAutomation::FindTask(std::string_view text) { return find(m_tasks, text); }
uint8_t OutlookAutomation::FindTaskByDueDate(std::string_view dueDate)
{
    return FindTask(filter("[DueDate] = '", dueDate));
}
uint8_t OutlookAutomation::FindTaskByStartDate(std::string_view startDate)
{
    return FindTask(filter("[StartDate] = '", startDate));
}
uint8_t OutlookAutomation::FindTaskByStatus(std::string_view status)
{
    return FindTask(filter("[Status] = '", status));
}
uint8_t OutlookAutomation::FindTaskBySubject(std::string_view subject)
{
    return FindTask(filter("[Subject] = '", subject));
}
uint8_t OutlookAutomation::FindNextTask() { return findNext(m_tasks); }
uint8_t OutlookAutomation::GetTask(int32_t position) { return fetch(m_tasks, position); }
int32_t OutlookAutomation::CountTasks() { return count(m_tasks); }

} // namespace office
