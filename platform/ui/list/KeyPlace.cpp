#include "platform/ui/list/KeyPlace.h"

#include "platform/text/CaseTable.h"
#include "platform/text/Collation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace platform::ui {

namespace {

using storage::FieldDef;
using storage::FieldType;

// A text is read as this many characters in base 257 (0: past its end, 1 + weight otherwise).
constexpr int TextDigits = 4;
constexpr double TextBase = 257.0;

std::string_view clipped(const std::byte* record, const FieldDef& def)
{
    std::string_view text(reinterpret_cast<const char*>(record) + def.offset, def.size);
    return platform::text::clip(text);
}

int weight(unsigned char byte, bool noCase)
{
    return platform::text::collationWeight(noCase ? platform::text::toUpper(byte) : byte);
}

// The byte of each weight.
const std::array<unsigned char, 256>& byteOfWeight()
{
    static const std::array<unsigned char, 256> bytes = [] {
        std::array<unsigned char, 256> table{};
        for (int b = 0; b < 256; ++b)
            table[platform::text::collationWeight(static_cast<unsigned char>(b))] =
                static_cast<unsigned char>(b);
        return table;
    }();
    return bytes;
}

void setNumber(std::byte* record, const FieldDef& def, double value)
{
    std::byte* at = record + def.offset;
    const auto whole = [&](double low, double high) { return std::clamp(std::ceil(value), low, high); };
    switch (def.type) {
    case FieldType::Byte:
        *at = static_cast<std::byte>(static_cast<uint8_t>(whole(0, 255)));
        break;
    case FieldType::Short: {
        const auto v = static_cast<int16_t>(whole(-32768, 32767));
        std::memcpy(at, &v, sizeof v);
        break;
    }
    case FieldType::Long: {
        const auto v = static_cast<int32_t>(whole(-2147483648.0, 2147483647.0));
        std::memcpy(at, &v, sizeof v);
        break;
    }
    case FieldType::Real:
        std::memcpy(at, &value, sizeof value);
        break;
    default:
        break;
    }
}

} // namespace

KeyPlace::KeyPlace(const storage::FileLayout& layout, int key)
    : m_layout(&layout)
    , m_key(key)
{
}

const FieldDef& KeyPlace::field(std::size_t component) const
{
    const auto& key = m_layout->keys[static_cast<std::size_t>(m_key)];
    return m_layout->fields[static_cast<std::size_t>(key.fields[component])];
}

void KeyPlace::setEnds(const std::byte* first, std::int64_t firstPosition, const std::byte* last,
                       std::int64_t lastPosition)
{
    m_firstPosition = firstPosition;
    m_lastPosition = lastPosition;
    m_decider = -1;
    m_prefix = 0;
    if (!m_layout)
        return;
    m_first.assign(first, first + m_layout->recordSize);
    if (m_key < 0)
        return;
    const auto& key = m_layout->keys[static_cast<std::size_t>(m_key)];
    for (std::size_t c = 0; c < key.fields.size() && m_decider < 0; ++c) {
        const FieldDef& def = field(c);
        if (def.type != FieldType::String) {
            if (storage::fieldNumber(def.type, first + def.offset) !=
                storage::fieldNumber(def.type, last + def.offset))
                m_decider = static_cast<int>(c);
            continue;
        }
        const std::string_view a = clipped(first, def);
        const std::string_view b = clipped(last, def);
        std::size_t same = 0;
        while (same < a.size() && same < b.size()
               && weight(static_cast<unsigned char>(a[same]), key.noCase)
                      == weight(static_cast<unsigned char>(b[same]), key.noCase))
            ++same;
        if (same < a.size() || same < b.size()) {
            m_decider = static_cast<int>(c);
            m_prefix = same;
        }
    }
    if (m_decider >= 0) {
        m_low = coordinate(first);
        m_high = coordinate(last);
    }
}

double KeyPlace::coordinate(const std::byte* record) const
{
    const FieldDef& def = field(static_cast<std::size_t>(m_decider));
    if (def.type != FieldType::String)
        return storage::fieldNumber(def.type, record + def.offset);
    const bool noCase = m_layout->keys[static_cast<std::size_t>(m_key)].noCase;
    const std::string_view text = clipped(record, def);
    double value = 0.0;
    for (int i = 0; i < TextDigits; ++i) {
        const std::size_t at = m_prefix + static_cast<std::size_t>(i);
        const int digit = at < text.size() ? 1 + weight(static_cast<unsigned char>(text[at]), noCase) : 0;
        value = value * TextBase + digit;
    }
    return value;
}

double KeyPlace::fraction(const std::byte* record, std::int64_t position) const
{
    double low = static_cast<double>(m_firstPosition);
    double high = static_cast<double>(m_lastPosition);
    double at = static_cast<double>(position);
    if (m_decider >= 0) {
        low = m_low;
        high = m_high;
        at = coordinate(record);
    }
    if (!(high > low))
        return 0.0;
    return std::clamp((at - low) / (high - low), 0.0, 1.0);
}

void KeyPlace::clearFrom(std::size_t component, std::byte* record) const
{
    const auto& key = m_layout->keys[static_cast<std::size_t>(m_key)];
    for (std::size_t c = component; c < key.fields.size(); ++c) {
        const FieldDef& def = field(c);
        if (def.type == FieldType::String)
            std::memset(record + def.offset, ' ', def.size);
        else
            setNumber(record, def, def.type == FieldType::Real ? -std::numeric_limits<double>::max()
                                                               : -2147483648.0);
    }
}

std::int64_t KeyPlace::target(double fraction, std::byte* record) const
{
    if (!m_layout || m_first.empty())
        return 0;
    fraction = std::clamp(fraction, 0.0, 1.0);
    std::memcpy(record, m_first.data(), m_first.size());
    if (m_decider < 0) {
        const double span = static_cast<double>(m_lastPosition - m_firstPosition);
        return m_firstPosition + static_cast<std::int64_t>(std::llround(span * fraction));
    }
    const auto decider = static_cast<std::size_t>(m_decider);
    const FieldDef& def = field(decider);
    const double value = m_low + (m_high - m_low) * fraction;
    clearFrom(decider, record);
    if (def.type != FieldType::String) {
        setNumber(record, def, value);
        return 0;
    }
    // The shared characters, then the ones the value spells.
    char* text = reinterpret_cast<char*>(record) + def.offset;
    std::memcpy(text, reinterpret_cast<const char*>(m_first.data()) + def.offset,
                std::min<std::size_t>(m_prefix, def.size));
    double rest = std::floor(value);
    std::array<int, TextDigits> digits{};
    for (int i = TextDigits - 1; i >= 0; --i) {
        digits[static_cast<std::size_t>(i)] = static_cast<int>(std::fmod(rest, TextBase));
        rest = std::floor(rest / TextBase);
    }
    std::size_t at = m_prefix;
    for (const int digit : digits) {
        if (digit == 0 || at >= def.size)
            break;
        text[at++] = static_cast<char>(byteOfWeight()[static_cast<std::size_t>(digit - 1)]);
    }
    return 0;
}

} // namespace platform::ui
