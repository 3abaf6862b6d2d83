#include "platform/automation/outlook/ItemProperties.h"

#include <QString>

#include <array>

namespace platform::automation::outlook {

namespace {

using Type = ItemProperty::Type;

constexpr ItemProperty text(std::string_view name)
{
    return {name, Type::Text, true, -2147483648.0, 2147483647.0, {}};
}
constexpr ItemProperty readOnly(std::string_view name)
{
    return {name, Type::Text, false, -2147483648.0, 2147483647.0, {}};
}
constexpr ItemProperty number(std::string_view name, double minimum = -2147483648.0,
                              double maximum = 2147483647.0, std::string_view initial = "0")
{
    return {name, Type::Number, true, minimum, maximum, initial};
}
constexpr ItemProperty flag(std::string_view name)
{
    return {name, Type::Flag, true, 0, 1, "0"};
}

constexpr std::array kProperties{
    // Mail.
    text("To"), text("CC"), text("BCC"), text("From"), text("Subject"), text("Body"),
    text("HTMLBody"), readOnly("EntryID"), ItemProperty{"Sent", Type::Flag, false, 0, 1, "0"},
    readOnly("SentOn"),
    // Any item.
    text("BillingInformation"), text("Companies"), text("Mileage"), text("Start"), text("End"),
    number("Importance", 0, 2, "1"), number("Sensitivity", 0, 3), flag("ReminderSet"),
    text("ReminderTime"), flag("ReminderOverrideDefault"), flag("ReminderPlaySound"),
    text("ReminderSoundFile"),
    // Tasks.
    number("ActualWork"), text("DateCompleted"), text("DueDate"), number("Ordinal"),
    number("PercentComplete", 0, 100), text("StartDate"), number("Status", 0, 4),
    number("TotalWork"), flag("Complete"),
    // Notes.
    number("Height"), number("Left"), number("Color", 0, 4, "1"), number("Top"), number("Width"),
    // Contacts.
    text("Account"), text("Anniversary"), text("AssistantName"), text("AssistantTelephoneNumber"),
    text("CallbackTelephoneNumber"), text("Birthday"), text("BusinessAddress"),
    text("BusinessAddressCity"), text("BusinessAddressCountry"), text("BusinessFaxNumber"),
    text("BusinessHomePage"), text("BusinessAddressPostalCode"), text("BusinessTelephoneNumber"),
    text("Business2TelephoneNumber"), text("BusinessAddressState"), text("BusinessAddressStreet"),
    readOnly("CompanyAndFullName"), text("CompanyName"), text("CustomerID"), text("Department"),
    text("Email1Address"), readOnly("Email1EntryID"), text("Email2Address"),
    readOnly("Email2EntryID"), text("Email3Address"), readOnly("Email3EntryID"),
    text("Email1DisplayName"), text("Email2DisplayName"), text("Email3DisplayName"),
    text("FTPSite"), text("FirstName"), text("FullName"), number("Gender", 0, 2),
    text("HomeAddress"), text("HomeAddressCity"), text("HomeAddressCountry"),
    text("HomeFaxNumber"), text("HomeAddressPostalCode"), text("HomeTelephoneNumber"),
    text("Home2TelephoneNumber"), text("HomeAddressState"), text("HomeAddressStreet"),
    text("MobileTelephoneNumber"),
};

} // namespace

std::optional<ItemProperty> ItemProperties::find(std::string_view name)
{
    const QString wanted = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    for (const ItemProperty& property : kProperties) {
        const QString known = QString::fromLatin1(property.name.data(),
                                                  static_cast<qsizetype>(property.name.size()));
        if (known.compare(wanted, Qt::CaseInsensitive) == 0)
            return property;
    }
    return std::nullopt;
}

bool Folder::known(int folder)
{
    switch (folder) {
    case Outbox: case SentMail: case Inbox: case Calendar: case Contacts: case Journal:
    case Notes: case Tasks: case Drafts:
        return true;
    default:
        return false;
    }
}

int Folder::forKind(int kind)
{
    switch (kind) {
    case ItemKind::Appointment: return Calendar;
    case ItemKind::Contact: return Contacts;
    case ItemKind::Task: return Tasks;
    case ItemKind::Journal: return Journal;
    case ItemKind::Note: return Notes;
    case ItemKind::Post: return Inbox;
    default: return Drafts;
    }
}

} // namespace platform::automation::outlook
