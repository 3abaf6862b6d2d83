#include "net/HttpClient.h"

#include "net/ErrorTextIndex.h"
#include "net/ErrorTextTable.h"

#include "platform/system/LastError.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <cstring>
#include <utility>

namespace net {
namespace {

namespace inet = platform::system;
using platform::text::w;

// CSTRING widths of the members: n bytes hold n - 1 characters.
constexpr std::size_t ProxyWidth = 256;
constexpr std::size_t ServerNameWidth = 260;
constexpr std::size_t ProxyUserWidth = 256;
constexpr std::size_t ProxyPasswordWidth = 64;
constexpr std::size_t ErrorWidth = 200;

std::string cut(std::string_view text, std::size_t width)
{
    return std::string(text.substr(0, width - 1));
}

std::string_view clipped(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool isBlank(std::string_view text)
{
    return clipped(text).empty();
}

// A proxy typed as an address ("http://proxy:3128/") names its host and port alone: the
// scheme's colon is no port, and a path means nothing to a proxy.
std::string_view proxyHost(std::string_view host)
{
    host = clipped(host);
    if (const std::size_t scheme = host.find("://"); scheme != std::string_view::npos)
        host.remove_prefix(scheme + 3);
    return host.substr(0, host.find('/'));
}

// The text a query left in a buffer: up to its NUL.
std::string bufferText(const char* buffer, std::size_t size)
{
    return std::string(buffer, strnlen(buffer, size));
}

} // namespace

HttpClient::ProgressUpdater& HttpClient::progressUpdater()
{
    static ProgressUpdater updater;
    return updater;
}

HttpClient::ProgressUpdater HttpClient::setProgressUpdater(ProgressUpdater updater)
{
    return std::exchange(progressUpdater(), std::move(updater));
}

HttpClient::HttpClient() : m_szAgent("MyProgram"), m_szServerName("Localhost"), m_nServerPort(80)
{
}

HttpClient::~HttpClient()
{
    releaseResources();
}

// Handles and owned texts of an object that is initialised again or destroyed without Kill.
void HttpClient::releaseResources()
{
    for (inet::HINTERNET* handle : {&m_hRequest, &m_hSession, &m_hInternet}) {
        if (*handle)
            inet::InternetCloseHandle(*handle);
        *handle = nullptr;
    }
    if (m_dataList) {
        for (std::size_t i = 1; i <= m_dataList->records(); ++i)
            delete[] m_dataList->at(i).value;
        m_dataList.reset();
    }
    m_response.reset();
}

void HttpClient::Init()
{
    LoadErrorTexts();
    releaseResources();
    m_szAgent.clear();
    m_dwAccessType = 0;
    m_szProxy.clear();
    m_szProxyBypass.clear();
    m_dwFlags = 0;
    m_szUserName.clear();
    m_szPassword.clear();
    m_szProxyUserName.clear();
    m_szProxyPassword.clear();
    m_nProxyPort = 0;
    m_dwContext = 0;
    m_szDirectory.clear();
    m_retCode = 0;
    m_errorCode = 0;
    m_httpStatus = 0;
    m_apiError.clear();
    m_inetError.clear();
    m_httpError.clear();
    m_error.clear();
    m_progressControl = 0;
    m_contentType.clear();
    m_contentLength.clear();
    m_dataList = std::make_unique<HttpParameterList>();
    m_szServerName = "localhost";
    m_nServerPort = 80;
    m_response.reset();
}

void HttpClient::Kill()
{
    Close();
    if (m_dataList) {
        for (std::size_t i = 1; i <= m_dataList->records(); ++i)
            delete[] m_dataList->at(i).value;
        m_dataList->release();
        m_dataList.reset();
    }
    m_response.reset();
}

void HttpClient::SetProxy(std::string_view host, std::int32_t port,
                          std::optional<std::string_view> user,
                          std::optional<std::string_view> password)
{
    host = proxyHost(host);
    if (host.find(':') != std::string_view::npos)
        m_szProxy = cut(host, ProxyWidth);
    else
        m_szProxy = cut(std::string(host) + ":" + std::to_string(port), ProxyWidth);
    if (user)
        m_szProxyUserName = cut(*user, ProxyUserWidth);
    if (password)
        m_szProxyPassword = cut(*password, ProxyPasswordWidth);
}

std::int32_t HttpClient::Connect(std::string_view server, std::uint16_t port,
                                 std::uint32_t accessType)
{
    m_nServerPort = port;
    m_dwAccessType = accessType;
    Close();
    m_dwFlags = 0;
    m_hInternet = inet::InternetOpenA(m_szAgent.c_str(), m_dwAccessType, m_szProxy.c_str(),
                                      m_szProxyBypass.c_str(), m_dwFlags);
    if (!m_hInternet) {
        CaptureError({}, true);
        ShowMessage(w("Не установлено соединение с Интернет"), 1);
        return m_errorCode;
    }
    m_szServerName = cut(clipped(server), ServerNameWidth);
    m_nServerPort = port;
    m_hSession = inet::InternetConnectA(m_hInternet, m_szServerName.c_str(), m_nServerPort,
                                        m_szUserName.c_str(), m_szPassword.c_str(),
                                        inet::INTERNET_SERVICE_HTTP, 0, m_dwContext);
    CaptureError({}, true);
    if (!m_hSession)
        ShowMessage(w("Не открыта сессия ") + m_error, 1);
    return m_errorCode;
}

std::int32_t HttpClient::Load(std::string_view path, std::string_view targetFile)
{
    return Request("LOAD", path, targetFile);
}

std::int32_t HttpClient::Close()
{
    if (m_hRequest) {
        inet::InternetCloseHandle(m_hRequest);
        m_hRequest = nullptr;
    }
    if (m_hSession) {
        inet::InternetCloseHandle(m_hSession);
        m_hSession = nullptr;
        ShowMessage(w("Завершение сессии"), 0);
    }
    if (m_hInternet) {
        inet::InternetCloseHandle(m_hInternet);
        m_hInternet = nullptr;
    }
    return 0;
}

bool HttpClient::ProxyAuthResend()
{
    // The user name and password come from blank-padded fields; blanks at their end would make
    // every proxy refuse them, so they are sent without.
    const std::string user(clipped(m_szProxyUserName));
    const std::string password(clipped(m_szProxyPassword));
    if (!user.empty())
        inet::InternetSetOptionA(m_hRequest, inet::INTERNET_OPTION_PROXY_USERNAME, user.c_str(),
                                 static_cast<inet::DWORD>(user.size()));
    if (!password.empty())
        inet::InternetSetOptionA(m_hRequest, inet::INTERNET_OPTION_PROXY_PASSWORD, password.c_str(),
                                 static_cast<inet::DWORD>(password.size()));
    if (!inet::HttpSendRequestA(m_hRequest, nullptr, 0, nullptr, 0))
        return false;
    inet::DWORD status = 0;
    inet::DWORD length = sizeof status;
    inet::DWORD index = 0;
    inet::HttpQueryInfoA(m_hRequest, inet::HTTP_QUERY_STATUS_CODE | inet::HTTP_QUERY_FLAG_NUMBER,
                         &status, &length, &index);
    return status == 401 || status == 407;
}

std::string HttpClient::textOfCode(std::int32_t code) const
{
    auto& index = errorTextIndex();
    index.buffer().code = code;
    if (index.getByKey(&ErrorTextIndexEntry::code) == 0)
        return std::string(
            ErrorTextTable::instance().textField(static_cast<std::size_t>(index.buffer().message)));
    return std::to_string(code);
}

void HttpClient::CaptureError(std::string_view prefix, bool noPrefix)
{
    m_apiError.clear();
    m_inetError.clear();
    m_errorCode = static_cast<std::int32_t>(inet::GetLastError());
    if (m_errorCode != 0) {
        m_apiError = cut(textOfCode(m_errorCode), ErrorWidth);
        m_inetError = cut(LastResponseText(), ErrorWidth);
    }
    m_error = cut(m_apiError + " " + m_inetError, ErrorWidth);
    if (!isBlank(m_error) && !noPrefix)
        m_error = cut(std::string(prefix) + " " + m_error, ErrorWidth);
}

std::string HttpClient::LastResponseText()
{
    inet::DWORD error = 0;
    char buffer[260] = {};
    inet::DWORD length = sizeof buffer;
    if (!inet::InternetGetLastResponseInfoA(&error, buffer, &length))
        return {};
    const std::string text = bufferText(buffer, sizeof buffer);
    if (error == 0)
        return text;
    return std::to_string(error) + ":" + text;
}

std::int32_t HttpClient::ShowMessage(std::string_view text, std::int32_t level)
{
    if (level >= 1)
        platform::ui::message(text, w("Ошибка"), platform::ui::MessageIcon::Information);
    return level;
}

void HttpClient::LoadErrorTexts()
{
    auto& index = errorTextIndex();
    if (index.records() > 0)
        return;
    index.free();
    const ErrorTextTable& table = ErrorTextTable::instance();
    std::size_t field = 2;
    std::uint16_t counter = 0;
    while (counter < table.number()) {
        ++counter;
        if (!table.hasField(field + 1))
            break;
        index.buffer().code = table.codeField(field + 1);
        index.buffer().message = static_cast<std::int32_t>(field);
        index.addOrdered(&ErrorTextIndexEntry::code);
        field += 2;
    }
}

} // namespace net
