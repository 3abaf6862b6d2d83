#pragma once

#include <cstdint>
#include <string>

namespace net {
class HttpClient;
}

// Fetches "quelbit.txt" from the price-list server into the working folder: the proxy from the
// requisites (REKV), the site and port from the download-site record (REKV_D), the built-in
// server when no site is set. Failures are shown to the user. REKV and REKV_D must be open.
namespace app {

class PriceListDownload
{
public:
    // The server used when the download-site record names none.
    static constexpr const char* BuiltInServer = "price.example.com";
    static constexpr uint16_t DefaultPort = 80;
    static constexpr const char* Path = "/price/quelbit.txt";

    explicit PriceListDownload(net::HttpClient& client) : m_client(client) {}

    // True when the file arrived.
    bool run();

    // Where the download goes: "quelbit.txt" in the current working folder.
    static std::string targetFile();

private:
    net::HttpClient& m_client;
};

} // namespace app
