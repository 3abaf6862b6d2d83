#include "platform/ui/list/RecordFields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include "platform/text/RealText.h"

namespace platform::ui {
namespace {

template <typename T> T load(const std::byte* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T> void store(std::byte* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

std::string trimmed(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && text[first] == ' ')
        ++first;
    std::size_t last = text.size();
    while (last > first && text[last - 1] == ' ')
        --last;
    return std::string(text.substr(first, last - first));
}

} // namespace

std::string RecordFields::text(const storage::FieldDef& field, const std::byte* record)
{
    const std::byte* at = record + field.offset;
    switch (field.type) {
    case storage::FieldType::Byte:
        return std::to_string(load<uint8_t>(at));
    case storage::FieldType::Short:
        return std::to_string(load<int16_t>(at));
    case storage::FieldType::Long:
        return std::to_string(load<int32_t>(at));
    case storage::FieldType::Real: {
        char buffer[64];
        const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, load<double>(at));
        return ec == std::errc() ? std::string(buffer, end) : std::string("0");
    }
    case storage::FieldType::String: {
        std::size_t n = field.size;
        const char* bytes = reinterpret_cast<const char*>(at);
        while (n && (bytes[n - 1] == ' ' || bytes[n - 1] == '\0'))
            --n;
        return std::string(bytes, n);
    }
    }
    return {};
}

void RecordFields::setText(const storage::FieldDef& field, std::byte* record, std::string_view text)
{
    std::byte* at = record + field.offset;
    if (field.type == storage::FieldType::String) {
        const std::size_t n = std::min<std::size_t>(text.size(), field.size);
        std::memcpy(at, text.data(), n);
        std::memset(at + n, ' ', field.size - n);
        return;
    }
    const std::string number = trimmed(text);
    const double value = number.empty() ? 0.0 : text::textToReal(number);
    const double whole = std::isfinite(value) ? std::trunc(value) : 0.0;
    switch (field.type) {
    case storage::FieldType::Byte:
        store<uint8_t>(at, static_cast<uint8_t>(std::clamp(whole, 0.0, 255.0)));
        break;
    case storage::FieldType::Short:
        store<int16_t>(at, static_cast<int16_t>(std::clamp(whole, -32768.0, 32767.0)));
        break;
    case storage::FieldType::Long:
        store<int32_t>(at, static_cast<int32_t>(std::clamp(whole, -2147483648.0, 2147483647.0)));
        break;
    case storage::FieldType::Real:
        store<double>(at, std::isfinite(value) ? value : 0.0);
        break;
    case storage::FieldType::String:
        break;
    }
}

} // namespace platform::ui
