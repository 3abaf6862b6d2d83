#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/outlook/MailStore.h"

#include <QDateTime>

#include <memory>

namespace platform::automation::outlook {

class MailSession;
class MimeMessage;

// An item of the mail server (mail, appointment, contact, task, journal entry, note, post):
// its properties by name, its user properties and attachments, Save (kept in the store under
// its entry id), Send (mail only), Close, Delete, Display, PrintOut, MarkComplete (tasks) and
// SaveAs (an Internet message file).
class OutlookItem : public AutomationObject
{
public:
    OutlookItem(std::shared_ptr<MailSession> session, StoredItem stored);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override;

    const StoredItem& stored() const { return m_item; }
    // A property's value text (its initial value when never written).
    std::string property(std::string_view name) const;
    std::string userProperty(const std::string& name) const;
    void setUserProperty(const std::string& name, const std::string& value);
    // Copies the file into the item; the reason when it cannot be read.
    void addAttachment(const std::string& path);

    // The item as an Internet message.
    MimeMessage message() const;

private:
    void save();
    void send();
    void close(int mode);
    void remove();
    void markComplete();
    void saveAs(const std::string& file, int type);
    void ensureAlive() const;
    void setProperty(std::string_view name, const AutomationValue& value);

    std::shared_ptr<MailSession> m_session;
    StoredItem m_item;
    bool m_changed = false;
    bool m_deleted = false;
};

} // namespace platform::automation::outlook
