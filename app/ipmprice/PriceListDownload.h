#pragma once

#include <cstdint>
#include <string>

namespace net {
class HttpClient;
}

// Fetches "quelbit.txt" from the price-list server: the proxy from the requisites (REKV), the
// site and port from the download-site record (REKV_D), the built-in server when no site is
// set. The body goes to a file of this process beside "quelbit.txt" (receivedFile), which the
// load reads and which replaces "quelbit.txt" only once the price list was loaded from it
// (keepReceived): a download that fails or brings no price list leaves the previous
// "quelbit.txt" as it was, and no other copy of the program reads a file being written.
// Failures are shown to the user, a cancel is not. REKV and REKV_D must be open.
namespace app {

class PriceListDownload
{
public:
    // The server used when the download-site record names none.
    static constexpr const char* BuiltInServer = "price.example.com";
    static constexpr uint16_t DefaultPort = 80;
    static constexpr const char* Path = "/price/quelbit.txt";

    explicit PriceListDownload(net::HttpClient& client) : m_client(client) {}

    // True when the file arrived whole.
    bool run();
    // The user cancelled the download run() was making.
    bool cancelled() const { return m_cancelled; }

    // "quelbit.txt" in the current working folder.
    static std::string targetFile();
    // Where the download goes: beside it, named for this process.
    static std::string receivedFile();
    // The received file replaces "quelbit.txt" (loaded) or goes (not loaded).
    static void keepReceived(bool loaded);

private:
    bool refused(const char* whyUtf8);

    net::HttpClient& m_client;
    bool m_cancelled = false;
};

} // namespace app
