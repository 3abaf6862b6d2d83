#pragma once

#include "platform/system/HttpBodyDecoder.h"
#include "platform/system/WinInet.h"
#include "platform/system/WinInetWaiting.h"

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace platform::system {

// One HTTP exchange on libcurl. The transfer runs on a thread of its own; start() returns once
// the final response's status and headers are in, read() then takes the body in pieces. While
// they wait, the caller's wait hook runs between short waits (its window stays responsive),
// and cancelWaitingCalls() ends the exchange with 12017. At most PendingLimit bytes of body
// are held at a time: beyond that the transfer is paused until the caller reads, so a body of
// any size passes through in bounded memory. The body is held as it came and decoded as the
// caller reads it (gzip, deflate); an encoded body that did not end whole fails the read.
class WinInetTransfer
{
public:
    struct Setup
    {
        std::string url;
        std::string verb;
        std::vector<std::string> headers;
        std::string body;
        std::string agent;
        std::string referrer;
        bool http10 = false;
        bool followRedirects = true;
        std::string proxy; // empty: direct
        std::string proxyUserName;
        std::string proxyPassword;
        std::string userName;
        std::string password;
        long connectTimeoutMs = 30000;
        long receiveTimeoutMs = 30000;
    };

    static constexpr std::size_t PendingLimit = 512 * 1024;
    // Less than this many bytes a second over the whole receive timeout is no progress.
    static constexpr long ProgressBytesPerSecond = 64;

    WinInetTransfer();
    ~WinInetTransfer();
    WinInetTransfer(const WinInetTransfer&) = delete;
    WinInetTransfer& operator=(const WinInetTransfer&) = delete;

    // 0, or the WinInet code of the failure that kept a response from arriving.
    DWORD start(const Setup& setup);
    // Fills buffer up to size, stopping early only at the end of the body (got 0 then). A
    // failure after some bytes were given is reported by the next call; so is the end of an
    // encoded body whose stream did not end (12175).
    DWORD read(char* buffer, std::size_t size, std::size_t& got);

    bool hasResponse() const;
    const std::string& statusCode() const { return m_statusCode; }
    const std::string& statusText() const { return m_statusText; }
    // The value of a header of the final response (name compared without case).
    std::optional<std::string> header(std::string_view name) const;

private:
    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self);
    static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    void run();
    void headerLine(std::string_view line);
    std::size_t pendingSize() const { return m_pending.size() - m_pendingAt; }
    // Waits, the caller's hook running meanwhile, until ready() holds (the lock held).
    template <typename Ready> void waitUntil(std::unique_lock<std::mutex>& lock, Ready ready);
    void stop();
    DWORD failure() const;
    std::string contentEncoding() const;

    CURLM* m_multi = nullptr;
    CURL* m_easy = nullptr;
    curl_slist* m_headerList = nullptr;
    bool m_viaProxy = false;
    bool m_followRedirects = true;
    std::atomic<bool> m_cancelled{false}; // set by whoever cancels the waiting calls
    TransferRegistration m_registration{m_cancelled};

    // The caller's: made at the first read, from the final response's Content-Encoding.
    std::optional<HttpBodyDecoder> m_decoder;

    std::thread m_worker;
    std::atomic<bool> m_stop{false};

    // Shared between the worker and the caller, under m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_pending;
    std::size_t m_pendingAt = 0;
    bool m_paused = false;
    bool m_resume = false;
    bool m_done = false;
    CURLcode m_result = CURLE_OK;
    long m_osErrno = 0;
    bool m_headersDone = false;
    int m_blockCode = 0;
    bool m_blockHasLocation = false;
    std::string m_statusCode;
    std::string m_statusText;
    std::vector<std::pair<std::string, std::string>> m_responseHeaders;
    char m_errorText[CURL_ERROR_SIZE] = {};
};

} // namespace platform::system
