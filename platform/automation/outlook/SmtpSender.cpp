#include "platform/automation/outlook/SmtpSender.h"

#include "platform/automation/outlook/SmtpConversation.h"

#include "platform/text/Cp1251.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

namespace platform::automation::outlook {

using platform::text::w;

namespace {

struct Upload
{
    const QByteArray* data = nullptr;
    qsizetype at = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* user)
{
    auto* upload = static_cast<Upload*>(user);
    const size_t left = static_cast<size_t>(upload->data->size() - upload->at);
    const size_t taken = std::min(left, size * count);
    std::memcpy(buffer, upload->data->constData() + upload->at, taken);
    upload->at += static_cast<qsizetype>(taken);
    return taken;
}

std::string utf8(const QString& text)
{
    return text.toStdString();
}

// Keeps what was said with the server; the credentials of a login are never kept.
int listen(CURL*, curl_infotype type, char* data, size_t size, void* user)
{
    auto* conversation = static_cast<SmtpConversation*>(user);
    std::string_view text(data, size);
    while (!text.empty() && (type == CURLINFO_HEADER_IN || type == CURLINFO_HEADER_OUT)) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (type == CURLINFO_HEADER_IN)
            conversation->received(line);
        else
            conversation->sent(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return 0;
}

// The user's words for what went wrong.
std::string reasonOf(CURLcode code, const char* details, const MailAccount& account,
                     const SmtpConversation& conversation)
{
    const std::string server =
        platform::text::fromQString(account.server) + ":" + std::to_string(account.port);
    const std::string transport = details[0] ? details : curl_easy_strerror(code);
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return w("почтовый сервер ") + platform::text::fromQString(account.server) +
               w(" не найден");
    case CURLE_COULDNT_CONNECT:
        return w("почтовый сервер ") + server + w(" недоступен");
    case CURLE_OPERATION_TIMEDOUT:
        if (conversation.step() == SmtpConversation::Step::Connect)
            return w("почтовый сервер ") + server + w(" недоступен");
        break;
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        if (conversation.refusal().empty())
            return w("не удалось установить защищённое соединение с почтовым сервером ") + server +
                   ": " + transport;
        break;
    default:
        break;
    }
    return conversation.reason(account, code == CURLE_LOGIN_DENIED, transport);
}

} // namespace

SmtpSender::Result SmtpSender::send(const MailAccount& account, const QStringList& recipients,
                                    const QByteArray& message)
{
    if (recipients.isEmpty())
        return {false, w("не указан адрес получателя")};
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    CURL* curl = initialised ? curl_easy_init() : nullptr;
    if (!curl)
        return {false, w("ошибка отправки почты: библиотека не запущена")};

    const std::string scheme = account.security == MailAccount::Security::Tls ? "smtps" : "smtp";
    const std::string url =
        scheme + "://" + utf8(account.server) + ":" + std::to_string(account.port);
    const std::string from = "<" + utf8(account.sender) + ">";
    curl_slist* rcpt = nullptr;
    for (const QString& recipient : recipients)
        rcpt = curl_slist_append(rcpt, ("<" + utf8(recipient) + ">").c_str());
    Upload upload{&message, 0};
    char details[CURL_ERROR_SIZE] = {};
    SmtpConversation conversation;

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readMessage);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, details);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, listen);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &conversation);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
    if (account.security == MailAccount::Security::StartTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    const std::string user = utf8(account.user);
    const std::string password = utf8(account.password);
    if (!account.user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    }

    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(rcpt);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK)
        return {true, {}};
    return {false, reasonOf(code, details, account, conversation)};
}

} // namespace platform::automation::outlook
