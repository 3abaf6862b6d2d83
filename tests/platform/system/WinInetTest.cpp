#include "platform/system/WinInet.h"
#include "platform/system/LastError.h"
#include "platform/system/WinInetWaiting.h"

#include "platform/storage/LogicalThread.h"

#include "tests/support/EncodedBodies.h"
#include "tests/support/RefusedThreads.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

using namespace platform::system;

namespace {

const std::string EncodedPlain = testsupport::priceLines(3000);

// A loopback server with the few routes the layer's tests need.
class Server
{
public:
    Server()
    {
        m_server.Get(R"(/bytes/(\d+))",
                     [](const httplib::Request& request, httplib::Response& response) {
                         response.set_content(std::string(std::stoul(request.matches[1]), 'b'),
                                              "application/octet-stream");
                     });
        m_server.Get("/nolength", [](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("text/plain",
                                                  [](std::size_t, httplib::DataSink& sink) {
                                                      sink.write("abc", 3);
                                                      sink.done();
                                                      return true;
                                                  });
        });
        // The price lines encoded (gzip, deflate, raw: deflate without its wrapping, br) and
        // cut to the given length, which is sent as the Content-Length.
        m_server.Get(R"(/encoded/(\w+)/(\d+))",
                     [](const httplib::Request& request, httplib::Response& response) {
                         const std::string name = request.matches[1];
                         const std::string coding = name == "raw" ? "raw deflate" : name;
                         const std::string body =
                             name == "br" ? std::string("\x0b\x02\x80hello\x03")
                                          : testsupport::encodedBody(coding, EncodedPlain);
                         response.set_header("Content-Encoding", name == "raw" ? "deflate" : name);
                         // A type the server library would not compress once more.
                         response.set_content(body.substr(0, std::stoul(request.matches[2])),
                                              "application/octet-stream");
                     });
        m_server.Get(".*", [](const httplib::Request& request, httplib::Response& response) {
            response.status = 404;
            response.set_content(request.target, "text/plain");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~Server()
    {
        m_server.stop();
        m_thread.join();
    }
    INTERNET_PORT port() const { return static_cast<INTERNET_PORT>(m_port); }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};

// A socket that listens but never answers: connections succeed, responses never come.
class SilentListener
{
public:
    SilentListener()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_socket, 4);
        socklen_t length = sizeof address;
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(m_socket); }
    INTERNET_PORT port() const { return m_port; }

private:
    int m_socket = -1;
    INTERNET_PORT m_port = 0;
};

INTERNET_PORT closedPort()
{
    SilentListener listener;
    return listener.port(); // closed again when the listener goes
}

struct Handles
{
    HINTERNET internet = nullptr;
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;

    Handles(INTERNET_PORT port, const char* path, DWORD access = INTERNET_OPEN_TYPE_DIRECT,
            const char* proxy = "")
    {
        internet = InternetOpenA("", access, proxy, "", 0);
        connection =
            InternetConnectA(internet, "127.0.0.1", port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
        const char* accept[] = {"*/*", nullptr};
        request = HttpOpenRequestA(connection, "GET", path, "HTTP/1.1", "", accept, 0, 0);
    }
    ~Handles() { InternetCloseHandle(internet); }
};

std::string queryText(HINTERNET request, DWORD level)
{
    char buffer[64] = {};
    DWORD length = sizeof buffer;
    DWORD index = 0;
    if (!HttpQueryInfoA(request, level, buffer, &length, &index))
        return "(failed " + std::to_string(GetLastError()) + ")";
    return std::string(buffer, length);
}

TEST(WinInetTest, TheBodyIsReadInThePiecesTheCallerAsksFor)
{
    Server server;
    Handles h(server.port(), "/bytes/100000");
    ASSERT_NE(h.request, nullptr);
    ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(queryText(h.request, HTTP_QUERY_STATUS_CODE), "200");
    EXPECT_EQ(queryText(h.request, HTTP_QUERY_CONTENT_LENGTH), "100000");

    DWORD number = 0;
    DWORD length = sizeof number;
    ASSERT_TRUE(HttpQueryInfoA(h.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number,
                               &length, nullptr));
    EXPECT_EQ(number, 200u);

    std::vector<char> buffer(40000);
    std::vector<DWORD> pieces;
    DWORD got = 0;
    do {
        ASSERT_TRUE(InternetReadFile(h.request, buffer.data(), 40000, &got));
        pieces.push_back(got);
    } while (got != 0);
    EXPECT_EQ(pieces, (std::vector<DWORD>{40000, 40000, 20000, 0}));
    EXPECT_TRUE(InternetReadFile(h.request, buffer.data(), 40000, &got)); // past the end: still 0
    EXPECT_EQ(got, 0u);
}

// Reads until the end or a failure: the bytes and the failure's code (0 at the end).
std::pair<std::string, DWORD> readBody(HINTERNET request)
{
    std::string body;
    std::vector<char> buffer(40000);
    DWORD got = 0;
    for (;;) {
        if (!InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &got))
            return {body, GetLastError()};
        if (got == 0)
            return {body, 0};
        body.append(buffer.data(), got);
    }
}

TEST(WinInetTest, AnEncodedBodyIsWholeOnlyWhenItsStreamEnded)
{
    Server server;
    for (const char* name : {"gzip", "deflate", "raw"}) {
        const std::string coding = std::string(name) == "raw" ? "raw deflate" : name;
        const std::string encoded = testsupport::encodedBody(coding, EncodedPlain);
        const std::string path = "/encoded/" + std::string(name) + "/";
        {
            Handles h(server.port(), (path + std::to_string(encoded.size())).c_str());
            ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
            const auto [body, failure] = readBody(h.request);
            EXPECT_EQ(failure, 0u) << name;
            EXPECT_TRUE(body == EncodedPlain) << name;
        }
        // The length sent is the cut: only the missing end of the stream tells.
        for (const auto& [where, length] : testsupport::cutPoints(coding, encoded)) {
            Handles h(server.port(), (path + std::to_string(length)).c_str());
            ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
            EXPECT_EQ(queryText(h.request, HTTP_QUERY_CONTENT_LENGTH), std::to_string(length));
            const auto [body, failure] = readBody(h.request);
            EXPECT_EQ(failure, WinInetError::DecodingFailed) << name << " cut " << where;
            EXPECT_EQ(EncodedPlain.compare(0, body.size(), body), 0) << name << " cut " << where;
        }
    }
    // A coding that was not offered and that this layer cannot undo.
    Handles h(server.port(), "/encoded/br/100");
    ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(readBody(h.request).second, WinInetError::DecodingFailed);
}

TEST(WinInetTest, QueryBuffersThatAreTooSmallAndHeadersThatAreAbsent)
{
    Server server;
    Handles h(server.port(), "/nolength");
    ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));

    char small[3] = {'-', '-', '-'};
    DWORD length = sizeof small;
    EXPECT_FALSE(HttpQueryInfoA(h.request, HTTP_QUERY_STATUS_CODE, small, &length, nullptr));
    EXPECT_EQ(GetLastError(), WinInetError::InsufficientBuffer);
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(small[0], '-'); // untouched

    EXPECT_EQ(queryText(h.request, HTTP_QUERY_CONTENT_LENGTH), "(failed 12150)");
    EXPECT_EQ(queryText(h.request, 9999), "(failed 12154)");
    DWORD index = 1;
    length = sizeof small;
    EXPECT_FALSE(HttpQueryInfoA(h.request, HTTP_QUERY_STATUS_CODE, small, &length, &index));
    EXPECT_EQ(GetLastError(), WinInetError::HeaderNotFound);

    char body[10] = {};
    DWORD got = 0;
    ASSERT_TRUE(InternetReadFile(h.request, body, sizeof body, &got));
    EXPECT_EQ(std::string(body, got), "abc");
}

TEST(WinInetTest, ObjectNamesAreSentAsGivenWithUnsafeBytesEscaped)
{
    Server server;
    Handles h(server.port(), "/a b?x=1\r\nInjected: yes#frag");
    ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(queryText(h.request, HTTP_QUERY_STATUS_CODE), "404");
    char body[200] = {};
    DWORD got = 0;
    ASSERT_TRUE(InternetReadFile(h.request, body, sizeof body, &got));
    EXPECT_EQ(std::string(body, got), "/a%20b?x=1%0D%0AInjected:%20yes%23frag");
}

TEST(WinInetTest, AFailedSendIsNeverAnEmptyBody)
{
    Handles h(closedPort(), "/x");
    ASSERT_NE(h.request, nullptr);
    EXPECT_FALSE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), WinInetError::CannotConnect);
    EXPECT_EQ(queryText(h.request, HTTP_QUERY_STATUS_CODE), "(failed 12150)");
    char buffer[16];
    DWORD got = 99;
    EXPECT_FALSE(InternetReadFile(h.request, buffer, sizeof buffer, &got));
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(GetLastError(), WinInetError::CannotConnect);
}

TEST(WinInetTest, ASendTheSystemGivesNoThreadForFailsAndTheNextOneWorks)
{
    Server server;
    {
        // The server has its threads once it has answered.
        Handles first(server.port(), "/bytes/10");
        ASSERT_TRUE(HttpSendRequestA(first.request, nullptr, 0, nullptr, 0));
    }
    {
        Handles h(server.port(), "/bytes/10");
        const testsupport::RefusedThreads refused;
        EXPECT_FALSE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
        EXPECT_EQ(GetLastError(), WinInetError::NotEnoughMemory);
    }
    Handles h(server.port(), "/bytes/10");
    EXPECT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(queryText(h.request, HTTP_QUERY_STATUS_CODE), "200");
}

TEST(WinInetTest, AnUnreachableProxyAndAServerThatNeverAnswers)
{
    const std::string proxy = "127.0.0.1:" + std::to_string(closedPort());
    Handles viaProxy(80, "/x", INTERNET_OPEN_TYPE_PROXY, proxy.c_str());
    EXPECT_FALSE(HttpSendRequestA(viaProxy.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), WinInetError::ProxyServerUnreachable);

    SilentListener silent;
    Handles h(silent.port(), "/x");
    const DWORD timeoutMs = 1000;
    ASSERT_TRUE(InternetSetOptionA(h.internet, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeoutMs,
                                   sizeof timeoutMs));
    EXPECT_FALSE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), WinInetError::Timeout);
}

// A wait nested in another (a dialog's download under its caller's): ending the transfers
// begun since a mark ends the inner one and leaves the outer one waiting.
TEST(WinInetTest, CancellingSinceAMarkEndsOnlyTheTransfersBegunAfterIt)
{
    SilentListener silent;
    Handles outer(silent.port(), "/outer");
    Handles inner(silent.port(), "/inner");
    int phase = 0;
    uint64_t mark = 0;
    int outerWaits = 0;
    bool innerSent = true;
    DWORD innerError = 0;
    setWaitHook([&] {
        if (phase == 0) {
            phase = 1;
            mark = transferMark();
            innerSent = HttpSendRequestA(inner.request, nullptr, 0, nullptr, 0);
            innerError = GetLastError();
            phase = 2;
        } else if (phase == 1) {
            cancelTransfersSince(mark); // from the inner wait
        } else if (++outerWaits == 10) {
            cancelWaitingCalls();
        }
    });
    EXPECT_FALSE(HttpSendRequestA(outer.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), WinInetError::OperationCancelled);
    setWaitHook({});
    EXPECT_FALSE(innerSent);
    EXPECT_EQ(innerError, WinInetError::OperationCancelled);
    EXPECT_EQ(outerWaits, 10);
}

TEST(WinInetTest, HandlesAreCheckedAndClosedWithWhatWasMadeFromThem)
{
    EXPECT_EQ(InternetOpenA("", 2, "", "", 0), nullptr);
    EXPECT_EQ(GetLastError(), WinInetError::InvalidParameter);

    HINTERNET internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
    ASSERT_NE(internet, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    // A session handle is not a connection handle.
    EXPECT_EQ(HttpOpenRequestA(internet, "GET", "/", nullptr, nullptr, nullptr, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), WinInetError::InvalidHandle);

    HINTERNET connection =
        InternetConnectA(internet, "127.0.0.1", 1, "", "", INTERNET_SERVICE_HTTP, 0, 0);
    HINTERNET request = HttpOpenRequestA(connection, nullptr, "/", nullptr, nullptr, nullptr, 0, 0);
    ASSERT_NE(request, nullptr);
    const char user[] = "u";
    EXPECT_TRUE(InternetSetOptionA(request, INTERNET_OPTION_PROXY_USERNAME, user, 1));
    EXPECT_FALSE(InternetSetOptionA(request, 12345, user, 1));
    EXPECT_EQ(GetLastError(), WinInetError::InvalidOption);

    EXPECT_TRUE(InternetCloseHandle(internet));
    EXPECT_FALSE(InternetCloseHandle(request)); // closed with its session
    EXPECT_EQ(GetLastError(), WinInetError::InvalidHandle);
    EXPECT_FALSE(HttpSendRequestA(connection, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), WinInetError::InvalidHandle);

    DWORD error = 7;
    char text[260] = "x";
    DWORD length = sizeof text;
    EXPECT_TRUE(InternetGetLastResponseInfoA(&error, text, &length));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(length, 0u);
    EXPECT_STREQ(text, "");
}

TEST(WinInetTest, TheLastErrorIsKeptPerLogicalThread)
{
    SetLastError(12029);
    {
        platform::storage::ThreadScope other(5);
        EXPECT_EQ(GetLastError(), 0u);
        SetLastError(12002);
        EXPECT_EQ(GetLastError(), 12002u);
    }
    EXPECT_EQ(GetLastError(), 12029u);
    SetLastError(0);
    EXPECT_EQ(GetLastError(), 0u);

    // A thread that ends takes its value with it.
    {
        platform::storage::ThreadScope other(6);
        SetLastError(12031);
    }
    platform::storage::endThread(6);
    platform::storage::ThreadScope again(6);
    EXPECT_EQ(GetLastError(), 0u);
}

} // namespace
