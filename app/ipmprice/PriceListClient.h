#pragma once

#include "net/HttpClient.h"

#include <cstdint>
#include <string_view>

// The HTTP client of the price-list download. The body goes to a file of this process beside
// "quelbit.txt" until the list was loaded from it; the client's messages name "quelbit.txt",
// the file the user knows, never that one.
namespace app {

class PriceListClient : public net::HttpClient
{
public:
    std::int32_t ShowMessage(std::string_view text, std::int32_t level) override;
};

} // namespace app
