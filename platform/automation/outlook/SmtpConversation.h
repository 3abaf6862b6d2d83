#pragma once

#include "platform/automation/outlook/MailAccount.h"

#include <string>
#include <string_view>

namespace platform::automation::outlook {

// What was said with the SMTP server during one send: the step under way (from the commands
// sent) and the server's replies. From them comes the reason of a failed send in the user's
// words: the step that failed, the server's own reply, and, where the reply asks for a secured
// connection or a login, the account setting that answers it.
class SmtpConversation
{
public:
    enum class Step { Connect, Greeting, StartTls, Login, Sender, Recipient, Message };

    // A command line sent to the server. Only its first word is looked at, so the credentials
    // of a login are never kept.
    void sent(std::string_view line);
    // A reply line from the server ("250-..." continues a reply, "250 ..." ends it).
    void received(std::string_view line);

    Step step() const { return m_step; }
    // The last reply that refused (code 400 and above), with the step it answered; empty when
    // the server refused nothing.
    const std::string& refusal() const { return m_refusal; }

    // The reason of a failed send, Windows-1251. loginDenied: the library saw the login refused;
    // transport: its own words when the server said nothing that explains the failure.
    std::string reason(const MailAccount& account, bool loginDenied,
                       const std::string& transport) const;

private:
    std::string stepText(Step step, bool loginDenied) const;
    std::string advice(const MailAccount& account) const;

    Step m_step = Step::Connect;
    std::string m_recipient; // of the last RCPT command
    std::string m_reply;     // the reply being received
    std::string m_refusal;   // the last refusing reply, whole
    Step m_refusedStep = Step::Connect;
    std::string m_refusedRecipient;
};

} // namespace platform::automation::outlook
