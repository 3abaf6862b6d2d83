#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// An estimate of where a record stands in a key's order (or physical order), as a fraction
// from the first record (0) to the last one (1), taken from the key values alone: the first
// key component in which the two ends differ is read as a number (a text by the collation
// weights of its first differing characters) and placed between the ends' values; when the
// ends share all key values, the position places it. The estimate never decreases along the
// order, so a scroll bar that shows it never runs backwards while the list pages forwards.
// The other way round, a fraction gives key values (or a position) to seek from.
namespace platform::ui {

class KeyPlace
{
public:
    KeyPlace() = default;
    // key: an index into the layout's keys, or -1 for physical order.
    KeyPlace(const storage::FileLayout& layout, int key);

    void setEnds(const std::byte* first, std::int64_t firstPosition, const std::byte* last,
                 std::int64_t lastPosition);

    double fraction(const std::byte* record, std::int64_t position) const;

    // A place near the fraction to seek from: record gets the first end's key values with the
    // deciding component set (later components their lowest values); the position to seek
    // from, or 0 when the values alone are the place.
    std::int64_t target(double fraction, std::byte* record) const;

private:
    double coordinate(const std::byte* record) const;
    const storage::FieldDef& field(std::size_t component) const;
    void clearFrom(std::size_t component, std::byte* record) const;

    const storage::FileLayout* m_layout = nullptr;
    int m_key = -1;
    std::vector<std::byte> m_first;
    std::int64_t m_firstPosition = 0;
    std::int64_t m_lastPosition = 0;
    int m_decider = -1;      // the first component in which the ends differ; -1: none
    std::size_t m_prefix = 0; // a text decider: the characters the ends share
    double m_low = 0.0;
    double m_high = 0.0;
};

} // namespace platform::ui
