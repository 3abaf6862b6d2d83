#include "platform/automation/outlook/OutlookItem.h"

#include "platform/automation/SystemFileName.h"
#include "platform/automation/outlook/ItemPrinter.h"
#include "platform/automation/outlook/ItemProperties.h"
#include "platform/automation/outlook/ItemWindow.h"
#include "platform/automation/outlook/MailSession.h"
#include "platform/automation/outlook/MimeMessage.h"
#include "platform/automation/outlook/OutlookAttachments.h"
#include "platform/automation/outlook/SmtpSender.h"
#include "platform/automation/outlook/UserProperty.h"
#include "platform/text/Cp1251.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform::automation::outlook {

using platform::text::fromQString;
using platform::text::toQString;

namespace {

const char* const kKindNames[] = {"MailItem",    "AppointmentItem", "ContactItem", "TaskItem",
                                  "JournalItem", "NoteItem",        "PostItem"};

// A path the user or a stored text gives may use "\" between folders; blanks around it go.
QString localPath(const std::string& path)
{
    const auto first = path.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return systemFileName(path.substr(first, path.find_last_not_of(' ') - first + 1));
}

} // namespace

OutlookItem::OutlookItem(std::shared_ptr<MailSession> session, StoredItem stored)
    : m_session(std::move(session)), m_item(std::move(stored))
{
}

std::string OutlookItem::typeName() const
{
    return m_item.kind >= 0 && m_item.kind <= 6 ? kKindNames[m_item.kind] : "Item";
}

void OutlookItem::ensureAlive() const
{
    if (m_deleted)
        fail("the item has been deleted");
}

std::string OutlookItem::property(std::string_view name) const
{
    const auto known = ItemProperties::find(name);
    if (!known)
        return {};
    const auto it = m_item.properties.find(std::string(known->name));
    return it != m_item.properties.end() ? it->second : std::string(known->initial);
}

std::string OutlookItem::userProperty(const std::string& name) const
{
    const QString wanted = toQString(name);
    for (const auto& [stored, value] : m_item.userProperties) {
        if (toQString(stored).compare(wanted, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

void OutlookItem::setUserProperty(const std::string& name, const std::string& value)
{
    ensureAlive();
    const QString wanted = toQString(name);
    for (auto& [stored, old] : m_item.userProperties) {
        if (toQString(stored).compare(wanted, Qt::CaseInsensitive) == 0) {
            old = value;
            m_changed = true;
            return;
        }
    }
    m_item.userProperties[name] = value;
    m_changed = true;
}

void OutlookItem::addAttachment(const std::string& path)
{
    ensureAlive();
    QFile file(localPath(path));
    if (!file.open(QIODevice::ReadOnly))
        fail("the file " + path + " cannot be read");
    m_item.attachments.push_back(
        {fromQString(QFileInfo(file.fileName()).fileName()), file.readAll().toStdString()});
    m_changed = true;
}

AutomationValue OutlookItem::get(std::string_view member, const Arguments& arguments)
{
    ensureAlive();
    auto self = std::static_pointer_cast<OutlookItem>(shared_from_this());
    if (is(member, "Attachments"))
        return AutomationValue::object(std::make_shared<OutlookAttachments>(self));
    if (is(member, "UserProperties")) {
        if (!given(arguments, 0))
            fail("UserProperties needs the property's name");
        return AutomationValue::object(std::make_shared<UserProperty>(self, arguments[0].toText()));
    }
    if (is(member, "Save")) {
        save();
        return AutomationValue::boolean(true);
    }
    if (is(member, "Send")) {
        send();
        return AutomationValue::boolean(true);
    }
    if (is(member, "Close")) {
        close(given(arguments, 0) ? static_cast<int>(arguments[0].toInteger()) : 0);
        return AutomationValue::boolean(true);
    }
    if (is(member, "Delete")) {
        remove();
        return AutomationValue::boolean(true);
    }
    if (is(member, "Display")) {
        ItemWindow::show(m_item);
        return AutomationValue::boolean(true);
    }
    if (is(member, "PrintOut")) {
        ItemPrinter::print(m_item);
        return AutomationValue::boolean(true);
    }
    if (is(member, "MarkComplete")) {
        markComplete();
        return AutomationValue::boolean(true);
    }
    if (is(member, "SaveAs")) {
        if (!given(arguments, 0))
            fail("SaveAs needs a file name");
        saveAs(arguments[0].toText(),
               given(arguments, 1) ? static_cast<int>(arguments[1].toInteger()) : 3);
        return AutomationValue::boolean(true);
    }
    if (is(member, "EntryID"))
        return AutomationValue::text(m_item.entryId);
    if (is(member, "CompanyAndFullName")) {
        const std::string company = property("CompanyName");
        const std::string name = property("FullName");
        return AutomationValue::text(company.empty() || name.empty() ? company + name
                                                                     : company + " " + name);
    }
    const auto known = ItemProperties::find(member);
    if (!known)
        unknown(member);
    noArguments(member, arguments);
    const std::string value = property(known->name);
    if (known->type == ItemProperty::Type::Text)
        return AutomationValue::text(value);
    return AutomationValue::number(AutomationValue::text(value).toNumber());
}

void OutlookItem::set(std::string_view member, const Arguments& arguments,
                      const AutomationValue& value)
{
    ensureAlive();
    noArguments(member, arguments);
    setProperty(member, value);
}

void OutlookItem::setProperty(std::string_view name, const AutomationValue& value)
{
    const auto known = ItemProperties::find(name);
    if (!known)
        unknown(name);
    if (!known->writable)
        fail(typeName() + "." + std::string(known->name) + " cannot be written");
    std::string text = value.toText();
    if (known->type == ItemProperty::Type::Flag) {
        text = value.toBoolean() ? "1" : "0";
    } else if (known->type == ItemProperty::Type::Number) {
        if (!value.isNumeric())
            fail(std::string(known->name) + " takes a number, not \"" + text + "\"");
        const double number = value.toNumber();
        if (number < known->minimum || number > known->maximum)
            fail(std::string(known->name) + " cannot be " + text);
        text = AutomationValue::number(number).toText();
    }
    m_item.properties[std::string(known->name)] = text;
    m_changed = true;
}

void OutlookItem::save()
{
    if (m_item.folder == 0)
        m_item.folder = Folder::forKind(m_item.kind);
    const bool fresh = m_item.id == 0;
    m_session->store().save(m_item);
    if (fresh)
        m_session->keep(std::static_pointer_cast<OutlookItem>(shared_from_this()), m_item.id);
    m_changed = false;
}

void OutlookItem::close(int mode)
{
    // 0 saves, 1 drops the changes since the last save; 2 would ask, and with no one to ask
    // the changes are saved.
    if (mode == 1) {
        if (m_item.id != 0) {
            if (auto stored = m_session->store().load(m_item.id))
                m_item = std::move(*stored);
        }
        m_changed = false;
        return;
    }
    if (mode != 0 && mode != 2)
        fail("Close takes 0, 1 or 2");
    if (m_changed || m_item.id == 0)
        save();
}

void OutlookItem::remove()
{
    if (m_item.id != 0)
        m_session->store().remove(m_item.id);
    m_deleted = true;
}

void OutlookItem::markComplete()
{
    if (m_item.kind != ItemKind::Task)
        fail("only a task can be marked complete");
    m_item.properties["Status"] = "2";
    m_item.properties["PercentComplete"] = "100";
    m_item.properties["Complete"] = "1";
    m_item.properties["DateCompleted"] =
        fromQString(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    m_changed = true;
    if (m_item.id != 0)
        save();
}

MimeMessage OutlookItem::message() const
{
    MimeMessage mail;
    mail.from = toQString(property("From"));
    mail.to = MimeMessage::addresses(toQString(property("To")));
    mail.cc = MimeMessage::addresses(toQString(property("CC")));
    mail.subject = toQString(property("Subject"));
    mail.body = toQString(property("Body"));
    for (const StoredAttachment& attachment : m_item.attachments)
        mail.attachments.push_back(
            {toQString(attachment.fileName), QByteArray::fromStdString(attachment.data)});
    return mail;
}

void OutlookItem::send()
{
    if (m_item.kind != ItemKind::Mail)
        fail(typeName() + " cannot be sent");
    if (property("Sent") == "1")
        fail("the mail has been sent already");
    MimeMessage mail = message();
    const QStringList recipients =
        mail.to + mail.cc + MimeMessage::addresses(toQString(property("BCC")));
    SmtpSender::Result result;
    if (recipients.isEmpty()) {
        result.reason = platform::text::w("не указан адрес получателя");
    } else if (const auto account = m_session->account(&result.reason)) {
        mail.from = account->sender;
        result = SmtpSender::send(*account, recipients, mail.bytes());
        if (result.delivered) {
            m_item.properties["From"] = fromQString(account->sender);
            m_item.properties["Sent"] = "1";
            m_item.properties["SentOn"] = fromQString(
                QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        }
    } else if (result.reason.empty()) {
        result.reason = platform::text::w("не настроена учётная запись почты");
    }
    // A mail that did not go stays in the outbox, where the user finds it again.
    m_item.folder = result.delivered ? Folder::SentMail : Folder::Outbox;
    if (!result.delivered) {
        save();
        fail(result.reason);
    }
    // A mail that went is reported as sent even when the store cannot keep it.
    try {
        save();
    } catch (const AutomationError& error) {
        qWarning("the sent mail is not kept: %s", error.what());
    }
}

void OutlookItem::saveAs(const std::string& file, int type)
{
    if (type != 3)
        fail("SaveAs writes messages only (type 3)");
    QSaveFile out(localPath(file));
    const QByteArray bytes = message().bytes();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        fail("the file " + file + " cannot be written");
}

} // namespace platform::automation::outlook
