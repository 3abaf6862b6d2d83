#include "app/ipmprice/PriceListClient.h"

#include "app/ipmprice/PriceListDownload.h"

#include <string>

namespace app {

std::int32_t PriceListClient::ShowMessage(std::string_view text, std::int32_t level)
{
    std::string shown(text);
    const std::string received = PriceListDownload::receivedFile();
    const std::string target = PriceListDownload::targetFile();
    for (std::size_t at = shown.find(received); at != std::string::npos;
         at = shown.find(received, at + target.size()))
        shown.replace(at, received.size(), target);
    return net::HttpClient::ShowMessage(shown, level);
}

} // namespace app
