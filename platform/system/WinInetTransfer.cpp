#include "platform/system/WinInetTransfer.h"

#include "platform/system/WinInetErrors.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace platform::system {
namespace {

// Bigger receive buffers mean fewer callbacks on a fast link; libcurl caps the size itself.
constexpr long ReceiveBufferSize = 256 * 1024;
constexpr int PollTimeoutMs = 1000;

bool sameTextNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

void initialiseCurlOnce()
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    (void)initialised;
}

} // namespace

WinInetTransfer::WinInetTransfer()
{
    initialiseCurlOnce();
}

WinInetTransfer::~WinInetTransfer()
{
    if (m_multi && m_easy)
        curl_multi_remove_handle(m_multi, m_easy);
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
    curl_slist_free_all(m_headerList);
}

DWORD WinInetTransfer::start(const Setup& setup)
{
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (!m_easy || !m_multi)
        return WinInetError::NotEnoughMemory;
    m_viaProxy = !setup.proxy.empty();
    m_followRedirects = setup.followRedirects;

    CURL* e = m_easy;
    curl_easy_setopt(e, CURLOPT_URL, setup.url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, m_errorText);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, setup.followRedirects ? 1L : 0L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION,
                     setup.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, ReceiveBufferSize);
    curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (!setup.agent.empty())
        curl_easy_setopt(e, CURLOPT_USERAGENT, setup.agent.c_str());
    if (!setup.referrer.empty())
        curl_easy_setopt(e, CURLOPT_REFERER, setup.referrer.c_str());

    // The proxy was chosen by the caller: no environment variable may override it.
    curl_easy_setopt(e, CURLOPT_PROXY, setup.proxy.c_str());
    curl_easy_setopt(e, CURLOPT_NOPROXY, "");
    if (!setup.proxyUserName.empty())
        curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, setup.proxyUserName.c_str());
    if (!setup.proxyPassword.empty())
        curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, setup.proxyPassword.c_str());
    if (!setup.userName.empty())
        curl_easy_setopt(e, CURLOPT_USERNAME, setup.userName.c_str());
    if (!setup.password.empty())
        curl_easy_setopt(e, CURLOPT_PASSWORD, setup.password.c_str());

    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, std::max(1L, setup.connectTimeoutMs));
    // A receive timeout: the transfer fails when less than a byte a second arrives for that long.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, (setup.receiveTimeoutMs + 999) / 1000));

    // The client sends no "Expect: 100-continue"; WinInet does not either.
    m_headerList = curl_slist_append(m_headerList, "Expect:");
    for (const std::string& line : setup.headers)
        m_headerList = curl_slist_append(m_headerList, line.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, m_headerList);

    if (setup.verb == "GET") {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else if (setup.verb == "HEAD") {
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else {
        if (setup.verb == "POST" || !setup.body.empty()) {
            curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE,
                             static_cast<curl_off_t>(setup.body.size()));
            curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, setup.body.data());
        }
        if (setup.verb != "POST")
            curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, setup.verb.c_str());
    }

    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &WinInetTransfer::onHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &WinInetTransfer::onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, this);

    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return WinInetError::InternalError;

    while (!m_headersDone && !m_done)
        pump();
    if (!m_headersDone) {
        if (m_result != CURLE_OK)
            return failure();
        if (!hasResponse())
            return WinInetError::InvalidServerResponse;
    }
    return 0;
}

DWORD WinInetTransfer::read(char* buffer, std::size_t size, std::size_t& got)
{
    got = 0;
    while (got < size) {
        if (const std::size_t available = pendingSize()) {
            const std::size_t n = std::min(available, size - got);
            std::memcpy(buffer + got, m_pending.data() + m_pendingAt, n);
            m_pendingAt += n;
            got += n;
            continue;
        }
        if (m_done) {
            if (m_result != CURLE_OK && got == 0)
                return failure();
            break;
        }
        pump();
    }
    return 0;
}

std::optional<std::string> WinInetTransfer::header(std::string_view name) const
{
    for (const auto& [key, value] : m_responseHeaders)
        if (sameTextNoCase(key, name))
            return value;
    return std::nullopt;
}

void WinInetTransfer::pump()
{
    if (m_paused && pendingSize() < PendingLimit) {
        m_paused = false;
        curl_easy_pause(m_easy, CURLPAUSE_CONT); // may deliver the held-back data at once
    }
    int running = 0;
    if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
        m_done = true;
        m_result = CURLE_OUT_OF_MEMORY;
        return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy) {
            m_done = true;
            m_result = message->data.result;
            curl_easy_getinfo(m_easy, CURLINFO_OS_ERRNO, &m_osErrno);
        }
    }
    if (m_done || m_paused || pendingSize() > 0)
        return;
    curl_multi_poll(m_multi, nullptr, 0, PollTimeoutMs, nullptr);
}

DWORD WinInetTransfer::failure() const
{
    return winInetErrorOf(m_result, m_osErrno, m_viaProxy);
}

std::size_t WinInetTransfer::onHeader(char* data, std::size_t size, std::size_t count, void* self)
{
    static_cast<WinInetTransfer*>(self)->headerLine(std::string_view(data, size * count));
    return size * count;
}

void WinInetTransfer::headerLine(std::string_view line)
{
    line = trimmed(line);
    if (line.substr(0, 5) == "HTTP/") {
        // A new response: an interim one (1xx), a redirect, or the final one.
        m_responseHeaders.clear();
        m_blockHasLocation = false;
        std::string_view rest = line.substr(std::min(line.size(), line.find(' ')));
        rest = trimmed(rest);
        const std::size_t space = rest.find(' ');
        m_statusCode = std::string(rest.substr(0, space));
        m_statusText = space == std::string_view::npos ? std::string()
                                                       : std::string(trimmed(rest.substr(space)));
        m_blockCode = 0;
        for (char c : m_statusCode.substr(0, 3)) {
            if (c < '0' || c > '9')
                break;
            m_blockCode = m_blockCode * 10 + (c - '0');
        }
        return;
    }
    if (line.empty()) {
        const bool redirect = m_blockCode >= 300 && m_blockCode < 400 && m_blockHasLocation;
        if (m_blockCode >= 200 && !(redirect && m_followRedirects))
            m_headersDone = true;
        return;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    std::string name(trimmed(line.substr(0, colon)));
    if (sameTextNoCase(name, "Location"))
        m_blockHasLocation = true;
    m_responseHeaders.emplace_back(std::move(name), std::string(trimmed(line.substr(colon + 1))));
}

std::size_t WinInetTransfer::onBody(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* transfer = static_cast<WinInetTransfer*>(self);
    const std::size_t length = size * count;
    if (transfer->pendingSize() >= PendingLimit) {
        transfer->m_paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    if (transfer->m_pendingAt > 0) {
        transfer->m_pending.erase(0, transfer->m_pendingAt);
        transfer->m_pendingAt = 0;
    }
    transfer->m_pending.append(data, length);
    transfer->m_headersDone = true;
    return length;
}

} // namespace platform::system
