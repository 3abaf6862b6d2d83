// The HTTP response as the client's WinInet layer takes it: a server on the loopback answers
// with the input's bytes as they are (status line, headers, a body that may be chunked or
// compressed, or broken anywhere), and the request reads the status, the length and the whole
// decoded body as the client's download does.
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/RawResponseServer.h"
#include "platform/system/WinInet.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using fuzzsupport::RawResponseServer;
using fuzzsupport::require;
using namespace platform::system;

namespace {

// A download reads in chunks of this size.
constexpr DWORD ChunkSize = 40000;
// The server always ends the connection, so no call should wait long.
constexpr DWORD TimeoutMs = 10000;

void queryText(HINTERNET request, DWORD level)
{
    char text[400];
    DWORD length = sizeof text;
    if (HttpQueryInfoA(request, level, text, &length, nullptr))
        require(length < sizeof text && text[length] == '\0', "a header text ends with its NUL");
}

void readResponse(HINTERNET connection)
{
    const char* acceptTypes[] = {"*/*", nullptr};
    HINTERNET request = HttpOpenRequestA(connection, "GET", "/price/quelbit.txt", "HTTP/1.1", "",
                                         acceptTypes, INTERNET_FLAG_NO_AUTO_REDIRECT, 0);
    require(request != nullptr, "a request handle is made");
    InternetSetOptionA(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &TimeoutMs, sizeof TimeoutMs);
    if (HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
        queryText(request, HTTP_QUERY_STATUS_CODE);
        queryText(request, HTTP_QUERY_STATUS_TEXT);
        queryText(request, HTTP_QUERY_CONTENT_LENGTH);
        queryText(request, HTTP_QUERY_CONTENT_TYPE);
        DWORD status = 0;
        DWORD length = sizeof status;
        (void)HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                             &length, nullptr);
    }
    static std::vector<char> chunk(ChunkSize);
    DWORD got = 0;
    while (InternetReadFile(request, chunk.data(), ChunkSize, &got) && got > 0)
        require(got <= ChunkSize, "a read gives at most what was asked");
    InternetCloseHandle(request);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static RawResponseServer server;
    server.setResponse(std::string(reinterpret_cast<const char*>(data), size));

    HINTERNET internet = InternetOpenA("", INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
    require(internet != nullptr, "a session is opened");
    InternetSetOptionA(internet, INTERNET_OPTION_CONNECT_TIMEOUT, &TimeoutMs, sizeof TimeoutMs);
    HINTERNET connection =
        InternetConnectA(internet, "127.0.0.1", server.port(), "", "", INTERNET_SERVICE_HTTP, 0, 0);
    require(connection != nullptr, "a connection is made");
    readResponse(connection);
    InternetCloseHandle(connection);
    InternetCloseHandle(internet);
    return 0;
}
