// The contact properties of the current item: one path each.
#include "office/OutlookAutomation.h"

namespace office {

std::string OutlookAutomation::GetContactAccount() { return readText(".Account"); }
std::string OutlookAutomation::GetContactAnniversary() { return readText(".Anniversary"); }
std::string OutlookAutomation::GetContactAssistantName() { return readText(".AssistantName"); }
std::string OutlookAutomation::GetContactAssistantTelephoneNumber() { return readText(".AssistantTelephoneNumber"); }
std::string OutlookAutomation::GetContactCallbackTelephoneNumber() { return readText(".CallbackTelephoneNumber"); }
std::string OutlookAutomation::GetContactBirthday() { return readText(".Birthday"); }
std::string OutlookAutomation::GetContactBusinessAddress() { return readText(".BusinessAddress"); }
std::string OutlookAutomation::GetContactBusinessAddressCity() { return readText(".BusinessAddressCity"); }
std::string OutlookAutomation::GetContactBusinessAddressCountry() { return readText(".BusinessAddressCountry"); }
std::string OutlookAutomation::GetContactBusinessFaxNumber() { return readText(".BusinessFaxNumber"); }
std::string OutlookAutomation::GetContactBusinessHomePage() { return readText(".BusinessHomePage"); }
std::string OutlookAutomation::GetContactBusinessAddressPostalCode() { return readText(".BusinessAddressPostalCode"); }
std::string OutlookAutomation::GetContactBusinessTelephoneNumber() { return readText(".BusinessTelephoneNumber"); }
std::string OutlookAutomation::GetContactBusiness2TelephoneNumber() { return readText(".Business2TelephoneNumber"); }
std::string OutlookAutomation::GetContactBusinessAddressState() { return readText(".BusinessAddressState"); }
std::string OutlookAutomation::GetContactBusinessAddressStreet() { return readText(".BusinessAddressStreet"); }
std::string OutlookAutomation::GetContactCompanyAndFullName() { return readText(".CompanyAndFullName"); }
std::string OutlookAutomation::GetContactCompanyName() { return readText(".CompanyName"); }
std::string OutlookAutomation::GetContactCustomerID() { return readText(".CustomerID"); }
std::string OutlookAutomation::GetContactDepartment() { return readText(".Department"); }
std::string OutlookAutomation::GetContactEMail1Address() { return readText(".EMail1Address"); }
std::string OutlookAutomation::GetContactEmail1EntryID() { return readText(".Email1EntryID"); }
std::string OutlookAutomation::GetContactEmail2Address() { return readText(".Email2Address"); }
std::string OutlookAutomation::GetContactEmail2EntryID() { return readText(".Email2EntryID"); }
std::string OutlookAutomation::GetContactEmail3Address() { return readText(".Email3Address"); }
std::string OutlookAutomation::GetContactEmail3EntryID() { return readText(".Email3EntryID"); }
std::string OutlookAutomation::GetContactEmail1DisplayName() { return readText(".Email1DisplayName"); }
std::string OutlookAutomation::GetContactEmail2DisplayName() { return readText(".Email2DisplayName"); }
std::string OutlookAutomation::GetContactEmail3DisplayName() { return readText(".Email3DisplayName"); }
std::string OutlookAutomation::GetContactFTPSite() { return readText(".FTPSite"); }
std::string OutlookAutomation::GetContactFirstName() { return readText(".FirstName"); }
std::string OutlookAutomation::GetContactFullname() { return readText(".Fullname"); }
std::string OutlookAutomation::GetContactGender() { return readText(".Gender"); }
std::string OutlookAutomation::GetContactHomeAddress() { return readText(".HomeAddress"); }
std::string OutlookAutomation::GetContactHomeAddressCity() { return readText(".HomeAddressCity"); }
std::string OutlookAutomation::GetContactHomeAddressCountry() { return readText(".HomeAddressCountry"); }
std::string OutlookAutomation::GetContactHomeFaxNumber() { return readText(".HomeFaxNumber"); }
std::string OutlookAutomation::GetContactHomeAddressPostalCode() { return readText(".HomeAddressPostalCode"); }
std::string OutlookAutomation::GetContactHomeTelephoneNumber() { return readText(".HomeTelephoneNumber"); }
std::string OutlookAutomation::GetContactHome2TelephoneNumber() { return readText(".Home2TelephoneNumber"); }
std::string OutlookAutomation::GetContactHomeAddressState() { return readText(".HomeAddressState"); }
std::string OutlookAutomation::GetContactHomeAddressStreet() { return readText(".HomeAddressStreet"); }
std::string OutlookAutomation::GetContactMobileTelephoneNumber() { return readText(".MobileTelephoneNumber"); }
void OutlookAutomation::SetContactAccount(std::string_view value) { write(".Account", value); }
void OutlookAutomation::SetContactAnniversary(std::string_view value) { write(".Anniversary", value); }
void OutlookAutomation::SetContactAssistantName(std::string_view value) { write(".AssistantName", value); }
void OutlookAutomation::SetContactAssistantTelephoneNumber(std::string_view value) { write(".AssistantTelephoneNumber", value); }
void OutlookAutomation::SetContactCallbackTelephoneNumber(std::string_view value) { write(".CallbackTelephoneNumber", value); }
void OutlookAutomation::SetContactBirthday(std::string_view value) { write(".Birthday", value); }
void OutlookAutomation::SetContactBusinessAddress(std::string_view value) { write(".BusinessAddress", value); }
void OutlookAutomation::SetContactBusinessAddressCity(std::string_view value) { write(".BusinessAddressCity", value); }
void OutlookAutomation::SetContactBusinessAddressCountry(std::string_view value) { write(".BusinessAddressCountry", value); }
void OutlookAutomation::SetContactBusinessFaxNumber(std::string_view value) { write(".BusinessFaxNumber", value); }
void OutlookAutomation::SetContactBusinessHomePage(std::string_view value) { write(".BusinessHomePage", value); }
void OutlookAutomation::SetContactBusinessAddressPostalCode(std::string_view value) { write(".BusinessAddressPostalCode", value); }
void OutlookAutomation::SetContactBusinessTelephoneNumber(std::string_view value) { write(".BusinessTelephoneNumber", value); }
void OutlookAutomation::SetContactBusiness2TelephoneNumber(std::string_view value) { write(".Business2TelephoneNumber", value); }
void OutlookAutomation::SetContactBusinessAddressState(std::string_view value) { write(".BusinessAddressState", value); }
void OutlookAutomation::SetContactBusinessAddressStreet(std::string_view value) { write(".BusinessAddressStreet", value); }
void OutlookAutomation::SetContactCompanyName(std::string_view value) { write(".CompanyName", value); }
void OutlookAutomation::SetContactCustomerID(std::string_view value) { write(".CustomerID", value); }
void OutlookAutomation::SetContactDepartment(std::string_view value) { write(".Department", value); }
void OutlookAutomation::SetContactEMail1Address(std::string_view value) { write(".EMail1Address", value); }
void OutlookAutomation::SetContactEmail2Address(std::string_view value) { write(".Email2Address", value); }
void OutlookAutomation::SetContactEmail3Address(std::string_view value) { write(".Email3Address", value); }
void OutlookAutomation::SetContactEmail1DisplayName(std::string_view value) { write(".Email1DisplayName", value); }
void OutlookAutomation::SetContactEmail2DisplayName(std::string_view value) { write(".Email2DisplayName", value); }
void OutlookAutomation::SetContactEmail3DisplayName(std::string_view value) { write(".Email3DisplayName", value); }
void OutlookAutomation::SetContactFTPSite(std::string_view value) { write(".FTPSite", value); }
void OutlookAutomation::SetContactFirstName(std::string_view value) { write(".FirstName", value); }
void OutlookAutomation::SetContactFullname(std::string_view value) { write(".Fullname", value); }
void OutlookAutomation::SetContactGender(int32_t value) { write(".Gender", number(value)); }
void OutlookAutomation::SetContactHomeAddress(std::string_view value) { write(".HomeAddress", value); }
void OutlookAutomation::SetContactHomeAddressCity(std::string_view value) { write(".HomeAddressCity", value); }
void OutlookAutomation::SetContactHomeAddressCountry(std::string_view value) { write(".HomeAddressCountry", value); }
void OutlookAutomation::SetContactHomeFaxNumber(std::string_view value) { write(".HomeFaxNumber", value); }
void OutlookAutomation::SetContactHomeAddressPostalCode(std::string_view value) { write(".HomeAddressPostalCode", value); }
void OutlookAutomation::SetContactHomeTelephoneNumber(std::string_view value) { write(".HomeTelephoneNumber", value); }
void OutlookAutomation::SetContactHome2TelephoneNumber(std::string_view value) { write(".Home2TelephoneNumber", value); }
void OutlookAutomation::SetContactHomeAddressState(std::string_view value) { write(".HomeAddressState", value); }
void OutlookAutomation::SetContactHomeAddressStreet(std::string_view value) { write(".HomeAddressStreet", value); }
void OutlookAutomation::SetContactMobileTelephoneNumber(std::string_view value) { write(".MobileTelephoneNumber", value); }

} // namespace office
