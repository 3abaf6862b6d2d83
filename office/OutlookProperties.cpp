// The recipient, note, task and general properties of the current item.
#include "office/OutlookAutomation.h"

#include "platform/automation/AutomationPath.h"

namespace office {

namespace {

std::string dateTime(std::string_view date, std::string_view time)
{
    return std::string(date) + " " + std::string(time);
}

std::string userProperty(std::string_view name)
{
    return ".UserProperties(" + platform::automation::AutomationPath::quoted(name) + ").Value";
}

} // namespace

std::string OutlookAutomation::GetBCC() { return readText(".BCC"); }
std::string OutlookAutomation::GetCC() { return readText(".CC"); }
std::string OutlookAutomation::GetFrom() { return readText(".From"); }
std::string OutlookAutomation::GetTo() { return readText(".To"); }
void OutlookAutomation::SetBCC(std::string_view value) { write(".BCC", value); }
void OutlookAutomation::SetCC(std::string_view value) { write(".CC", value); }
void OutlookAutomation::SetFrom(std::string_view value) { write(".From", value); }
void OutlookAutomation::SetTo(std::string_view value) { write(".To", value); }

int32_t OutlookAutomation::GetNoteHeight() { return readNumber(".Height"); }
int32_t OutlookAutomation::GetNoteLeft() { return readNumber(".Left"); }
int32_t OutlookAutomation::GetNoteColor() { return readNumber(".Color"); }
int32_t OutlookAutomation::GetNoteTop() { return readNumber(".Top"); }
int32_t OutlookAutomation::GetNoteWidth() { return readNumber(".Width"); }
void OutlookAutomation::SetNoteLeft(int32_t left) { write(".Left", number(left)); }
void OutlookAutomation::SetNoteHeight(int32_t height) { write(".Height", number(height)); }
void OutlookAutomation::MoveNote(int32_t left, int32_t top)
{
    SetNoteLeft(left);
    SetNoteTop(top);
}
void OutlookAutomation::SetNoteColor(uint8_t colour) { write(".Color", number(colour)); }
void OutlookAutomation::SetNoteTop(int32_t top) { write(".Top", number(top)); }
void OutlookAutomation::SetNoteWidth(int32_t width) { write(".Width", number(width)); }

int32_t OutlookAutomation::GetTaskActualWork() { return readNumber(".ActualWork"); }
std::string OutlookAutomation::GetTaskDateCompleted() { return readText(".DateCompleted"); }
std::string OutlookAutomation::GetTaskDueDate() { return readText(".DueDate"); }
int32_t OutlookAutomation::GetTaskOrdinal() { return readNumber(".Ordinal"); }
int32_t OutlookAutomation::GetTaskPercentComplete() { return readNumber(".PercentComplete"); }
std::string OutlookAutomation::GetTaskStartDate() { return readText(".StartDate"); }
int32_t OutlookAutomation::GetTaskStatus() { return readNumber(".Status"); }
int32_t OutlookAutomation::GetTaskTotalWork() { return readNumber(".TotalWork"); }
void OutlookAutomation::SetTaskActualWork(int32_t value) { write(".ActualWork", number(value)); }
void OutlookAutomation::SetTaskDateCompleted(std::string_view value) { write(".DateCompleted", value); }
void OutlookAutomation::SetTaskDueDate(std::string_view value) { write(".DueDate", value); }
void OutlookAutomation::SetTaskOrdinal(int16_t value) { write(".Ordinal", number(value)); }
void OutlookAutomation::SetTaskPercentComplete(int16_t value)
{
    write(".PercentComplete", number(value));
}
void OutlookAutomation::SetTaskStartDate(std::string_view value) { write(".StartDate", value); }
void OutlookAutomation::SetTaskStatus(uint8_t value) { write(".Status", number(value)); }
void OutlookAutomation::SetTaskTotalWork(int32_t value) { write(".TotalWork", number(value)); }

std::string OutlookAutomation::GetBillingInformation() { return readText(".BillingInformation"); }
std::string OutlookAutomation::GetBody() { return readText(".Body"); }
std::string OutlookAutomation::GetCompanies() { return readText(".Companies"); }
std::string OutlookAutomation::GetUserProperty(std::string_view name)
{
    return readText(userProperty(name));
}
std::string OutlookAutomation::GetEnd() { return readText(".End"); }
std::string OutlookAutomation::GetEntryId() { return readText(".EntryId"); }
int32_t OutlookAutomation::GetImportance() { return readNumber(".Importance"); }
std::string OutlookAutomation::GetMileage() { return readText(".Mileage"); }
std::string OutlookAutomation::GetReminderTime()
{
    const std::string first = readText(".ReminderTime");
    return first + "," + readText(".ReminderTime");
}
std::string OutlookAutomation::GetReminderSoundFile() { return readText(".ReminderSoundFile"); }
int32_t OutlookAutomation::GetSensitivity() { return readNumber(".Sensitivity"); }
std::string OutlookAutomation::GetStart() { return readText(".Start"); }
std::string OutlookAutomation::GetSubject() { return readText(".Subject"); }

void OutlookAutomation::SetBillingInformation(std::string_view value)
{
    write(".BillingInformation", value);
}
void OutlookAutomation::SetBody(std::string_view value) { write(".Body", value); }
void OutlookAutomation::SetCompanies(std::string_view value) { write(".Companies", value); }
void OutlookAutomation::SetUserProperty(std::string_view name, std::string_view value)
{
    write(userProperty(name), value);
}
void OutlookAutomation::SetEnd(std::string_view date, std::string_view time)
{
    write(".End", dateTime(date, time));
}
void OutlookAutomation::SetHTMLBody(std::string_view value) { write(".HTMLBody", value); }
void OutlookAutomation::SetImportance(uint8_t value) { write(".Importance", number(value)); }
void OutlookAutomation::SetMileage(std::string_view value) { write(".Mileage", value); }
void OutlookAutomation::SetReminder(std::string_view date, std::string_view time)
{
    write(".ReminderSet", "1");
    write(".ReminderTime", dateTime(date, time));
}
void OutlookAutomation::SetReminderSound(std::string_view soundFile)
{
    write(".ReminderOverrideDefault", "1");
    write(".ReminderPlaySound", "1");
    write(".ReminderSoundFile", soundFile);
}
void OutlookAutomation::SetSensitivity(uint8_t value) { write(".Sensitivity", number(value)); }
void OutlookAutomation::SetStart(std::string_view date, std::string_view time)
{
    write(".Start", dateTime(date, time));
}
void OutlookAutomation::SetSubject(std::string_view value) { write(".Subject", value); }

} // namespace office
