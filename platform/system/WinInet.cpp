#include "platform/system/WinInet.h"

#include "platform/system/LastError.h"
#include "platform/system/WinInetHandle.h"
#include "platform/system/WinInetProxy.h"
#include "platform/system/WinInetTransfer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>

namespace platform::system {
namespace {

using Kind = WinInetHandle::Kind;

constexpr DWORD NulTerminated = 0xFFFFFFFF;

BOOL fail(DWORD code)
{
    SetLastError(code);
    return 0;
}

HINTERNET failHandle(DWORD code)
{
    SetLastError(code);
    return nullptr;
}

BOOL succeed()
{
    SetLastError(0);
    return 1;
}

std::string text(const char* value)
{
    return value ? std::string(value) : std::string();
}

// The request target as given, with the bytes a request line cannot carry (controls, blanks,
// bytes above 0x7E, and '#', which would cut the query) written as %XX.
std::string requestTarget(std::string_view objectName)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string target;
    if (objectName.empty() || objectName.front() != '/')
        target = "/";
    for (const char c : objectName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || c == '#') {
            target += '%';
            target += hex[byte >> 4];
            target += hex[byte & 0x0F];
        } else {
            target += c;
        }
    }
    return target;
}

std::string hostForUrl(const std::string& host)
{
    if (host.find(':') != std::string::npos && host.front() != '[')
        return "[" + host + "]"; // an IPv6 address
    return host;
}

std::vector<std::string> headerLines(const char* headers, DWORD length)
{
    std::vector<std::string> lines;
    if (!headers)
        return lines;
    std::string_view all =
        length == NulTerminated ? std::string_view(headers) : std::string_view(headers, length);
    all = all.substr(0, std::min(all.find('\0'), all.size()));
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = std::min(all.find_first_of("\r\n", at), all.size());
        std::string_view line = all.substr(at, end - at);
        while (!line.empty() && line.back() == ' ')
            line.remove_suffix(1);
        if (!line.empty())
            lines.emplace_back(line);
        at = end + 1;
    }
    return lines;
}

} // namespace

HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                        const char* proxyBypass, DWORD /*flags*/)
{
    if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
        accessType != INTERNET_OPEN_TYPE_PROXY &&
        accessType != INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY)
        return failHandle(WinInetError::InvalidParameter);
    WinInetHandle* session = WinInetHandle::make(Kind::Session, nullptr);
    session->m_agent = text(agent);
    session->m_accessType = accessType;
    session->m_proxy = text(proxy);
    session->m_proxyBypass = text(proxyBypass);
    SetLastError(0);
    return session;
}

HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT serverPort,
                           const char* userName, const char* password, DWORD service,
                           DWORD /*flags*/, DWORD_PTR /*context*/)
{
    WinInetHandle* session = WinInetHandle::find(internet, Kind::Session);
    if (!session)
        return failHandle(WinInetError::InvalidHandle);
    if (service != INTERNET_SERVICE_HTTP || !serverName || !*serverName)
        return failHandle(WinInetError::InvalidParameter);
    WinInetHandle* connection = WinInetHandle::make(Kind::Connection, session);
    connection->m_serverName = serverName;
    connection->m_serverPort = serverPort;
    connection->m_userName = text(userName);
    connection->m_password = text(password);
    SetLastError(0);
    return connection;
}

HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           DWORD flags, DWORD_PTR /*context*/)
{
    WinInetHandle* connection = WinInetHandle::find(connect, Kind::Connection);
    if (!connection)
        return failHandle(WinInetError::InvalidHandle);
    WinInetHandle* request = WinInetHandle::make(Kind::Request, connection);
    request->m_verb = verb && *verb ? verb : "GET";
    request->m_objectName = text(objectName);
    request->m_version = version && *version ? version : "HTTP/1.1";
    request->m_referrer = text(referrer);
    for (const char** type = acceptTypes; type && *type; ++type)
        request->m_acceptTypes.emplace_back(*type);
    request->m_flags = flags;
    SetLastError(0);
    return request;
}

BOOL HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength,
                      const void* optional, DWORD optionalLength)
{
    WinInetHandle* handle = WinInetHandle::find(request, Kind::Request);
    if (!handle)
        return fail(WinInetError::InvalidHandle);
    const WinInetHandle* connection = handle->connection();
    const WinInetHandle* session = handle->session();

    const bool secure = (handle->m_flags & INTERNET_FLAG_SECURE) != 0;
    INTERNET_PORT port = connection->m_serverPort;
    if (port == INTERNET_INVALID_PORT_NUMBER)
        port = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;

    WinInetTransfer::Setup setup;
    setup.url = std::string(secure ? "https://" : "http://") +
                hostForUrl(connection->m_serverName) + ":" + std::to_string(port) +
                requestTarget(handle->m_objectName);
    setup.verb = handle->m_verb;
    setup.http10 = handle->m_version == "HTTP/1.0";
    setup.agent = session->m_agent;
    setup.referrer = handle->m_referrer;
    setup.followRedirects = (handle->m_flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
    if (!handle->m_acceptTypes.empty()) {
        std::string accept = "Accept: ";
        for (std::size_t i = 0; i < handle->m_acceptTypes.size(); ++i)
            accept += (i ? ", " : "") + handle->m_acceptTypes[i];
        setup.headers.push_back(accept);
    }
    for (std::string& line : headerLines(headers, headersLength))
        setup.headers.push_back(std::move(line));
    if (optional && optionalLength)
        setup.body.assign(static_cast<const char*>(optional), optionalLength);
    setup.proxy = proxyForRequest(session->m_accessType, session->m_proxy, session->m_proxyBypass,
                                  secure, connection->m_serverName);
    setup.proxyUserName = handle->proxyUserName();
    setup.proxyPassword = handle->proxyPassword();
    setup.userName = connection->m_userName;
    setup.password = connection->m_password;
    setup.connectTimeoutMs = handle->connectTimeoutMs();
    setup.receiveTimeoutMs = handle->receiveTimeoutMs();

    // A new send abandons whatever is left of the previous one.
    handle->m_transfer = std::make_unique<WinInetTransfer>();
    handle->m_sendError = handle->m_transfer->start(setup);
    if (handle->m_sendError)
        return fail(handle->m_sendError);
    return succeed();
}

BOOL HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* index)
{
    WinInetHandle* handle = WinInetHandle::find(request, Kind::Request);
    if (!handle)
        return fail(WinInetError::InvalidHandle);
    if (!bufferLength)
        return fail(WinInetError::InvalidParameter);
    const WinInetTransfer* transfer = handle->m_transfer.get();
    if (!transfer || handle->m_sendError || !transfer->hasResponse())
        return fail(WinInetError::HeaderNotFound);
    if (index && *index != 0) // every header this layer answers occurs once
        return fail(WinInetError::HeaderNotFound);

    std::optional<std::string> value;
    switch (infoLevel & 0xFFFF) {
    case HTTP_QUERY_STATUS_CODE:
        value = transfer->statusCode();
        break;
    case HTTP_QUERY_STATUS_TEXT:
        value = transfer->statusText();
        break;
    case HTTP_QUERY_CONTENT_LENGTH:
        value = transfer->header("Content-Length");
        break;
    case HTTP_QUERY_CONTENT_TYPE:
        value = transfer->header("Content-Type");
        break;
    default:
        return fail(WinInetError::InvalidQueryRequest);
    }
    if (!value)
        return fail(WinInetError::HeaderNotFound);

    if (infoLevel & HTTP_QUERY_FLAG_NUMBER) {
        DWORD number = 0;
        const auto [end, error] =
            std::from_chars(value->data(), value->data() + value->size(), number);
        if (error != std::errc() || end == value->data())
            return fail(WinInetError::InvalidHeader);
        if (*bufferLength < sizeof number || !buffer) {
            *bufferLength = sizeof number;
            return fail(WinInetError::InsufficientBuffer);
        }
        std::memcpy(buffer, &number, sizeof number);
        *bufferLength = sizeof number;
    } else {
        const auto needed = static_cast<DWORD>(value->size() + 1);
        if (*bufferLength < needed || !buffer) {
            *bufferLength = needed;
            return fail(WinInetError::InsufficientBuffer);
        }
        std::memcpy(buffer, value->c_str(), needed);
        *bufferLength = needed - 1;
    }
    if (index)
        *index = 1;
    return succeed();
}

BOOL InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead)
{
    if (bytesRead)
        *bytesRead = 0;
    WinInetHandle* handle = WinInetHandle::find(file, Kind::Request);
    if (!handle)
        return fail(WinInetError::InvalidHandle);
    if (!bytesRead || (!buffer && bytesToRead))
        return fail(WinInetError::InvalidParameter);
    // A request whose send failed keeps failing: its body is not an empty one.
    if (handle->m_sendError)
        return fail(handle->m_sendError);
    if (!handle->m_transfer)
        return fail(WinInetError::IncorrectHandleState);
    std::size_t got = 0;
    const DWORD error = handle->m_transfer->read(static_cast<char*>(buffer), bytesToRead, got);
    *bytesRead = static_cast<DWORD>(got);
    if (error)
        return fail(error);
    return succeed();
}

BOOL InternetSetOptionA(HINTERNET internet, DWORD option, const void* buffer, DWORD length)
{
    WinInetHandle* handle = WinInetHandle::find(internet);
    if (!handle)
        return fail(WinInetError::InvalidHandle);
    if (!buffer)
        return fail(WinInetError::InvalidParameter);
    switch (option) {
    case INTERNET_OPTION_PROXY_USERNAME:
    case INTERNET_OPTION_PROXY_PASSWORD: {
        const char* chars = static_cast<const char*>(buffer);
        std::string value =
            length ? std::string(chars, strnlen(chars, length)) : std::string(chars);
        (option == INTERNET_OPTION_PROXY_USERNAME ? handle->m_proxyUserName
                                                  : handle->m_proxyPassword) = std::move(value);
        return succeed();
    }
    case INTERNET_OPTION_CONNECT_TIMEOUT:
    case INTERNET_OPTION_RECEIVE_TIMEOUT: {
        if (length < sizeof(DWORD))
            return fail(WinInetError::InvalidParameter);
        DWORD ms = 0;
        std::memcpy(&ms, buffer, sizeof ms);
        (option == INTERNET_OPTION_CONNECT_TIMEOUT ? handle->m_connectTimeoutMs
                                                   : handle->m_receiveTimeoutMs) =
            static_cast<long>(ms);
        return succeed();
    }
    default:
        return fail(WinInetError::InvalidOption);
    }
}

BOOL InternetCloseHandle(HINTERNET internet)
{
    if (!WinInetHandle::close(internet))
        return fail(WinInetError::InvalidHandle);
    return succeed();
}

BOOL InternetGetLastResponseInfoA(DWORD* error, char* buffer, DWORD* bufferLength)
{
    if (!error || !bufferLength)
        return fail(WinInetError::InvalidParameter);
    *error = 0;
    if (buffer && *bufferLength > 0)
        buffer[0] = '\0';
    *bufferLength = 0;
    return succeed();
}

} // namespace platform::system
