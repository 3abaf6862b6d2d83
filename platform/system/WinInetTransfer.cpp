#include "platform/system/WinInetTransfer.h"

#include "platform/system/WinInetErrors.h"
#include "platform/system/WinInetWaiting.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <system_error>
#include "platform/text/AsciiChars.h"

namespace platform::system {
namespace {

// Bigger receive buffers mean fewer callbacks on a fast link; libcurl caps the size itself.
constexpr long ReceiveBufferSize = 256 * 1024;
constexpr int PollTimeoutMs = 1000;
// How often a waiting caller's hook runs.
constexpr auto HookInterval = std::chrono::milliseconds(20);

bool sameTextNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return platform::text::asciiLower(x) ==
                      platform::text::asciiLower(y);
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
    stop();
    if (m_multi && m_easy)
        curl_multi_remove_handle(m_multi, m_easy);
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_multi)
        curl_multi_cleanup(m_multi);
    curl_slist_free_all(m_headerList);
}

void WinInetTransfer::stop()
{
    if (!m_worker.joinable())
        return;
    m_stop = true;
    curl_multi_wakeup(m_multi);
    m_worker.join();
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
    // The codings this layer undoes are offered, and the body is decoded here rather than by
    // libcurl, which takes a cut stream for a whole one when the length was met.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "gzip, deflate");
    curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L);
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
    // No progress for the receive timeout fails the transfer: a silent server and one that
    // drips a few bytes a second alike.
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, ProgressBytesPerSecond);
    curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME,
                     std::max(1L, (setup.receiveTimeoutMs + 999) / 1000));
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &WinInetTransfer::onProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, this);

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

    try {
        m_worker = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // The system gives no thread (a process limit): the request fails as Windows says
        // it when it cannot create one.
        return WinInetError::NotEnoughMemory;
    }
    std::unique_lock lock(m_mutex);
    waitUntil(lock, [this] { return m_headersDone || m_done; });
    if (!m_headersDone) {
        if (m_result != CURLE_OK)
            return failure();
        if (m_statusCode.empty())
            return WinInetError::InvalidServerResponse;
    }
    return 0;
}

DWORD WinInetTransfer::read(char* buffer, std::size_t size, std::size_t& got)
{
    got = 0;
    std::unique_lock lock(m_mutex);
    if (!m_decoder)
        m_decoder.emplace(contentEncoding());
    while (got < size) {
        std::string_view body(m_pending.data() + m_pendingAt, pendingSize());
        const std::size_t before = body.size();
        std::size_t produced = 0;
        m_decoder->decode(body, buffer + got, size - got, produced);
        m_pendingAt += before - body.size();
        got += produced;
        if (m_paused && !m_resume && pendingSize() < PendingLimit) {
            m_resume = true;
            curl_multi_wakeup(m_multi);
        }
        if (m_decoder->damaged())
            return got == 0 ? WinInetError::DecodingFailed : 0;
        if (produced > 0 || body.size() != before)
            continue;
        // All that came is decoded: the end of the body, or more to wait for.
        if (m_done) {
            if (m_result != CURLE_OK)
                return got == 0 ? failure() : 0;
            if (!m_decoder->whole())
                return got == 0 ? WinInetError::DecodingFailed : 0;
            break;
        }
        waitUntil(lock, [this] { return pendingSize() > 0 || m_done; });
    }
    return 0;
}

// Every Content-Encoding of the final response, in the order sent.
std::string WinInetTransfer::contentEncoding() const
{
    std::string codings;
    for (const auto& [key, value] : m_responseHeaders)
        if (sameTextNoCase(key, "Content-Encoding"))
            codings += (codings.empty() ? "" : ", ") + value;
    return codings;
}

bool WinInetTransfer::hasResponse() const
{
    std::lock_guard lock(m_mutex);
    return !m_statusCode.empty();
}

std::optional<std::string> WinInetTransfer::header(std::string_view name) const
{
    std::lock_guard lock(m_mutex);
    for (const auto& [key, value] : m_responseHeaders)
        if (sameTextNoCase(key, name))
            return value;
    return std::nullopt;
}

template <typename Ready>
void WinInetTransfer::waitUntil(std::unique_lock<std::mutex>& lock, Ready ready)
{
    while (!ready()) {
        if (m_cancelled && !m_stop) {
            m_stop = true;
            curl_multi_wakeup(m_multi);
        }
        if (const WaitHook& hook = waitHook()) {
            m_changed.wait_for(lock, HookInterval);
            if (ready())
                break;
            lock.unlock();
            hook();
            lock.lock();
        } else {
            m_changed.wait_for(lock, HookInterval * 10);
        }
    }
}

// The worker: drives the transfer until it ends or is stopped.
void WinInetTransfer::run()
{
    CURLcode result = CURLE_OK;
    bool finished = false;
    while (!finished) {
        if (m_stop) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        bool resume = false;
        {
            std::lock_guard lock(m_mutex);
            if (m_resume) {
                m_resume = false;
                m_paused = false;
                resume = true;
            }
        }
        if (resume)
            curl_easy_pause(m_easy, CURLPAUSE_CONT); // may deliver held-back data at once
        int running = 0;
        if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
            result = CURLE_OUT_OF_MEMORY;
            break;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy) {
                finished = true;
                result = message->data.result;
            }
        }
        if (!finished)
            curl_multi_poll(m_multi, nullptr, 0, PollTimeoutMs, nullptr);
    }
    long osErrno = 0;
    curl_easy_getinfo(m_easy, CURLINFO_OS_ERRNO, &osErrno);
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
        m_result = result;
        m_osErrno = osErrno;
    }
    m_changed.notify_all();
}

DWORD WinInetTransfer::failure() const
{
    return winInetErrorOf(m_result, m_osErrno, m_viaProxy);
}

int WinInetTransfer::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<WinInetTransfer*>(self)->m_stop ? 1 : 0;
}

std::size_t WinInetTransfer::onHeader(char* data, std::size_t size, std::size_t count, void* self)
{
    auto* transfer = static_cast<WinInetTransfer*>(self);
    {
        std::lock_guard lock(transfer->m_mutex);
        transfer->headerLine(std::string_view(data, size * count));
    }
    transfer->m_changed.notify_all();
    return size * count;
}

void WinInetTransfer::headerLine(std::string_view line)
{
    if (m_headersDone)
        return; // trailers of the final response: its headers stay as the caller saw them
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
    {
        std::lock_guard lock(transfer->m_mutex);
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
    }
    transfer->m_changed.notify_all();
    return length;
}

} // namespace platform::system
