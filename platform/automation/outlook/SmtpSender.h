#pragma once

#include "platform/automation/outlook/MailAccount.h"

#include <QByteArray>
#include <QStringList>

#include <string>

namespace platform::automation::outlook {

// Delivers one message to the account's SMTP server through libcurl.
class SmtpSender
{
public:
    struct Result
    {
        bool delivered = false;
        std::string reason; // Windows-1251, for the user; empty when delivered
    };

    static Result send(const MailAccount& account, const QStringList& recipients,
                       const QByteArray& message);
};

} // namespace platform::automation::outlook
