#include "office/OutlookAutomation.h"

#include "platform/automation/AutomationPath.h"
#include "platform/automation/OleContainer.h"
#include "platform/ui/MessageBox.h"

#include <array>
#include <utility>

namespace office {

namespace {

using platform::automation::AutomationPath;

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool blank(std::string_view text)
{
    return withoutTrailingBlanks(text).empty();
}

// The item-kind numbers of CreateItem, in the order the kinds are compared.
constexpr std::array<std::pair<std::string_view, int>, 7> kItemKinds{{
    {"APPOINTMENT", 1},
    {"CONTACT", 2},
    {"JOURNAL", 4},
    {"MAIL", 0},
    {"NOTE", 5},
    {"POST", 6},
    {"TASK", 3},
}};

} // namespace

// Channel helpers: every path of the current item or a folder starts with its stored reference.
std::string OutlookAutomation::reference(std::string_view path)
{
    return GetProperty(path).substr(0, kObjectLength);
}

std::string OutlookAutomation::readText(std::string_view property)
{
    return GetProperty(object() + std::string(property));
}

int32_t OutlookAutomation::readNumber(std::string_view property)
{
    return numberOf(readText(property));
}

void OutlookAutomation::write(std::string_view property, std::string_view value)
{
    SetProperty(object() + std::string(property), value);
}

int32_t OutlookAutomation::GetAlignment()
{
    return numberOf(GetProperty("Selection.HorizontalAlignment"));
}

void OutlookAutomation::SetAlignment(uint8_t value)
{
    SetProperty("Selection.HorizontalAlignment", number(value));
}

void OutlookAutomation::CreateApplication()
{
    if (platform::automation::OleContainer* ole = container())
        ole->create("Outlook.Application");
    SetControlLanguage();
}

void OutlookAutomation::Init(platform::ui::Window* window, int32_t control, uint8_t create,
                             uint8_t activate, uint8_t visible)
{
    OfficeAutomation::Init(window, control, create, activate, visible);
    m_namespace = reference("GetNameSpace(\"MAPI\")");
    const std::pair<std::string*, int> folders[] = {
        {&m_calendar, 9}, {&m_contacts, 10}, {&m_inbox, 6},    {&m_journal, 11},
        {&m_notes, 12},   {&m_outbox, 4},    {&m_sentMail, 5}, {&m_tasks, 13},
    };
    for (const auto& [member, folder] : folders)
        *member = reference(m_namespace + ".GetDefaultFolder(" + number(folder) + ").Items");
}

void OutlookAutomation::CreateItem(std::string_view kind)
{
    std::string upper(withoutTrailingBlanks(kind));
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    for (const auto& [name, code] : kItemKinds) {
        if (upper == name) {
            setObject(GetProperty("CreateItem(" + number(code) + ")"));
            return;
        }
    }
}

void OutlookAutomation::AddAttachment(std::string_view path)
{
    const std::string attachments = reference(object() + ".Attachments");
    CallMethod(attachments + ".Add(" + AutomationPath::quoted(path) + ")");
}

void OutlookAutomation::CloseItem()
{
    CallMethod(object() + ".Close(" + number(m_saveMode) + ")");
}

void OutlookAutomation::GetItemFromID(std::string_view entryId)
{
    setObject(GetProperty(m_namespace + ".GetItemFromID(" +
                          AutomationPath::quoted(withoutTrailingBlanks(entryId)) + ")"));
}

void OutlookAutomation::runOnItem(std::string_view entryId, std::string_view method)
{
    if (!blank(entryId))
        GetItemFromID(entryId);
    CallMethod(object() + std::string(method));
}

void OutlookAutomation::DeleteItem(std::string_view entryId)
{
    runOnItem(entryId, ".Delete");
}
void OutlookAutomation::MarkComplete(std::string_view entryId)
{
    runOnItem(entryId, ".MarkComplete");
}
void OutlookAutomation::PrintItem(std::string_view entryId)
{
    runOnItem(entryId, ".PrintOut");
}
void OutlookAutomation::DisplayItem()
{
    CallMethod(object() + ".Display");
}
void OutlookAutomation::Send()
{
    CallMethod(object() + ".Send");
}

std::string OutlookAutomation::SaveItem()
{
    CallMethod(object() + ".Save");
    return GetProperty(object() + ".EntryID");
}

void OutlookAutomation::SaveItemAs(std::string_view fileName, uint8_t type)
{
    CallMethod(object() + ".SaveAs(" + AutomationPath::quoted(fileName) + "," + number(type) + ")");
}

void OutlookAutomation::SendWithConfirmation(std::string_view question, std::string_view cancelText)
{
    using namespace platform::ui;
    const unsigned answer =
        message(question, "Confirmation", MessageIcon::Question, Button::Yes | Button::No);
    if (answer == Button::Yes)
        Send();
    else
        message(cancelText, "Message Cancelled", MessageIcon::Exclamation);
}

} // namespace office
