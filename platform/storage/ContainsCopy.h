#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The data of a ContainsIndex: one text per record in a key's order, each entry a record
// position and the number of its text. Texts that follow each other in the key's order and are
// equal (the same value in any letter case, under a "no case" key) are kept once. The texts
// are kept in chunks of a few thousand, each one run of bytes, so that a search scans a chunk
// in one go and making a copy never moves what it has gathered.
namespace platform::storage {

class ContainsCopy
{
public:
    static constexpr std::size_t ChunkTexts = 4096;

    std::size_t entries() const { return m_textIds.size(); }
    int64_t position(std::size_t entry) const { return m_positions[entry]; }
    uint32_t textId(std::size_t entry) const { return m_textIds[entry]; }
    // The entry of a record position; entries() when the copy has none.
    std::size_t entryOf(uint32_t position) const;

    std::size_t texts() const { return m_offsets.size(); }
    std::string_view text(uint32_t id) const;
    // The texts ChunkTexts * c, ChunkTexts * c + 1 ... one after another, each followed by a
    // zero byte.
    std::string_view chunk(std::size_t c) const { return {m_chunks[c].data(), m_chunks[c].size()}; }
    // Where text id starts in its chunk.
    uint32_t offset(uint32_t id) const { return m_offsets[id]; }

    std::size_t memoryBytes() const;

private:
    friend class ContainsCopyMaker;

    std::vector<uint32_t> m_positions;
    std::vector<uint32_t> m_textIds;
    std::vector<std::vector<char>> m_chunks;
    std::vector<uint32_t> m_offsets;
};

// Makes a copy from the records given in the key's order.
class ContainsCopyMaker
{
public:
    // expected: about how many records there are (room is taken for them at once).
    explicit ContainsCopyMaker(int64_t expected);

    // The next record's position and text; false when the copy cannot hold it (a position
    // beyond 2^32, more than 2^32 texts), and the copy is then not to be used.
    bool add(int64_t position, std::string_view text);
    // The copy, its memory trimmed to what it holds.
    ContainsCopy finish();

private:
    ContainsCopy m_copy;
};

} // namespace platform::storage
