#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The data of a ContainsIndex: one text per record in a key's order, each entry a record
// position and the number of its text. Texts that follow each other in the key's order and are
// equal (the same value in any letter case, under a "no case" key) are kept once.
namespace platform::storage {

class ContainsCopy
{
public:
    std::size_t entries() const { return m_textIds.size(); }
    int64_t position(std::size_t entry) const { return m_positions[entry]; }
    uint32_t textId(std::size_t entry) const { return m_textIds[entry]; }
    // The entry of a record position; entries() when the copy has none.
    std::size_t entryOf(uint32_t position) const;

    std::size_t texts() const { return m_offsets.empty() ? 0 : m_offsets.size() - 1; }
    std::string_view text(uint32_t id) const
    {
        return {m_pool.data() + m_offsets[id], m_offsets[id + 1] - m_offsets[id] - 1};
    }
    // The distinct texts one after another, each followed by a zero byte.
    const char* pool() const { return m_pool.data(); }
    uint32_t offset(uint32_t id) const { return m_offsets[id]; }

    std::size_t memoryBytes() const;

private:
    friend class ContainsCopyMaker;

    std::vector<uint32_t> m_positions;
    std::vector<uint32_t> m_textIds;
    std::vector<char> m_pool;
    std::vector<uint32_t> m_offsets; // texts() + 1 offsets into the pool
};

// Makes a copy from the records given in the key's order.
class ContainsCopyMaker
{
public:
    // expected: about how many records there are (room is taken for them at once).
    explicit ContainsCopyMaker(int64_t expected);

    // The next record's position and text; false when the copy cannot hold it (a position
    // beyond 2^32, texts beyond 4 GB), and the copy is then not to be used.
    bool add(int64_t position, std::string_view text);
    // The copy, its memory trimmed to what it holds.
    ContainsCopy finish();

private:
    ContainsCopy m_copy;
    bool m_anyText = false;
};

} // namespace platform::storage
