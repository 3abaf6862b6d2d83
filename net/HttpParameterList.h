#pragma once

#include "platform/storage/Queue.h"
#include "platform/text/FixedString.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace net {

// An entry of HttpParameterList: ID, the parameter name (at most 31 characters), and VALUE, a
// text the entry owns; HttpClient.Kill frees every entry's text.
struct HttpParameter
{
    platform::text::FixedString<31> id;
    char* value = nullptr;
    std::uint32_t length = 0;

    // Gives the entry a new text of its own (the caller adds the entry to the queue afterwards).
    void setValue(std::string_view text)
    {
        value = new char[text.size() ? text.size() : 1];
        if (!text.empty())
            std::memcpy(value, text.data(), text.size());
        length = static_cast<std::uint32_t>(text.size());
    }
    std::string_view valueText() const
    {
        return value ? std::string_view(value, length) : std::string_view();
    }
};

// The request parameters of an HttpClient, taken in queue order.
using HttpParameterList = platform::storage::Queue<HttpParameter>;

} // namespace net
