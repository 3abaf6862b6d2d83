#include "platform/automation/outlook/SmtpConversation.h"

#include "platform/text/AsciiChars.h"
#include "platform/text/Cp1251.h"

#include <QDir>
#include <QString>

#include <algorithm>

namespace platform::automation::outlook {

using platform::text::w;

namespace {

constexpr std::size_t kLongestReply = 300;

std::string_view withoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), platform::text::asciiUpper);
    return result;
}

int replyCode(std::string_view reply)
{
    if (reply.size() < 3 ||
        !std::all_of(reply.begin(), reply.begin() + 3, platform::text::isAsciiDigit))
        return 0;
    return (reply[0] - '0') * 100 + (reply[1] - '0') * 10 + (reply[2] - '0');
}

// The server's words as the user's texts carry them (it may answer in UTF-8).
std::string shown(std::string_view reply)
{
    return platform::text::fromQString(
        QString::fromUtf8(reply.data(), static_cast<qsizetype>(reply.size())));
}

std::string accountFile()
{
    return platform::text::fromQString(QDir::toNativeSeparators(MailAccount::defaultPath()));
}

} // namespace

void SmtpConversation::sent(std::string_view line)
{
    line = withoutLineEnd(line);
    const std::string verb = upper(line.substr(0, line.find(' ')));
    if (verb == "EHLO" || verb == "HELO") {
        m_step = Step::Greeting;
    } else if (verb == "STARTTLS") {
        m_step = Step::StartTls;
    } else if (verb == "AUTH") {
        m_step = Step::Login;
    } else if (verb == "MAIL") {
        m_step = Step::Sender;
    } else if (verb == "RCPT") {
        m_step = Step::Recipient;
        const std::size_t open = line.find('<');
        const std::size_t close = line.find('>', open);
        m_recipient = open != std::string_view::npos && close != std::string_view::npos
                          ? std::string(line.substr(open + 1, close - open - 1))
                          : std::string();
    } else if (verb == "DATA") {
        m_step = Step::Message;
    }
}

void SmtpConversation::received(std::string_view line)
{
    line = withoutLineEnd(line);
    // A long reply is kept in part, and still ends only at its last line.
    if (m_reply.size() < kLongestReply)
        m_reply += std::string(m_reply.empty() ? "" : " ") + std::string(line);
    if (line.size() >= 4 && line[3] == '-')
        return; // the reply goes on
    if (replyCode(m_reply) >= 400) {
        m_refusal = m_reply.substr(0, kLongestReply);
        m_refusedStep = m_step;
        m_refusedRecipient = m_recipient;
    }
    m_reply.clear();
}

std::string SmtpConversation::stepText(Step step, bool loginDenied) const
{
    switch (step) {
    case Step::Connect:
        return w("почтовый сервер не принял соединение");
    case Step::Greeting:
        return w("почтовый сервер не принял приветствие (EHLO)");
    case Step::StartTls:
        return w("почтовый сервер не включил защищённое соединение (STARTTLS)");
    case Step::Login:
        return loginDenied
                   ? w("почтовый сервер отказал во входе: неверное имя пользователя или пароль")
                   : w("почтовый сервер отказал во входе");
    case Step::Sender:
        return w("почтовый сервер не принял адрес отправителя ");
    case Step::Recipient:
        return w("почтовый сервер не принял адрес получателя ") + m_refusedRecipient;
    case Step::Message:
        return w("почтовый сервер не принял письмо");
    }
    return {};
}

std::string SmtpConversation::advice(const MailAccount& account) const
{
    const std::string reply = upper(m_refusal);
    const int code = replyCode(m_refusal);
    const bool secured = reply.find("TLS") != std::string::npos ||
                         reply.find("SSL") != std::string::npos ||
                         reply.find("ENCRYPT") != std::string::npos || code == 538;
    const bool login = reply.find("AUTH") != std::string::npos || code == 530 || code == 535;
    const std::string file = accountFile();
    const std::string secure = w("смените в учётной записи почты «Защита соединения» на STARTTLS "
                                 "или SSL/TLS (в файле ") +
                               file + w(": security=starttls или security=tls)");
    const std::string check = w("Проверьте «Имя пользователя» и «Пароль» в учётной записи почты "
                                "(в файле ") +
                              file + w(": user= и password=)");
    if (secured && account.security == MailAccount::Security::None)
        return w("Сервер требует защищённого соединения: ") + secure;
    if (code == 535) // the login was taken and its name or password refused
        return check;
    if (login && account.user.isEmpty())
        return w("Сервер требует входа: укажите в учётной записи почты «Имя пользователя» и "
                 "«Пароль» (в файле ") +
               file + w(": user= и password=)");
    if (login && account.security == MailAccount::Security::None)
        return w("Сервер требует входа, а вход без защищённого соединения не даёт: ") + secure;
    return login ? check : std::string();
}

std::string SmtpConversation::reason(const MailAccount& account, bool loginDenied,
                                     const std::string& transport) const
{
    if (m_refusal.empty()) {
        static const char* const steps[] = {
            "соединение",        "приветствие (EHLO)", "включение защиты", "вход",
            "адрес отправителя", "адрес получателя",   "передача письма"};
        return w("ошибка отправки почты (шаг: ") + w(steps[static_cast<int>(m_step)]) +
               "): " + transport;
    }
    std::string text = stepText(m_refusedStep, loginDenied);
    if (m_refusedStep == Step::Sender)
        text += platform::text::fromQString(account.sender);
    text += w(" (ответ сервера: «") + shown(m_refusal) + w("»)");
    const std::string said = advice(account);
    return said.empty() ? text : text + ". " + said;
}

} // namespace platform::automation::outlook
