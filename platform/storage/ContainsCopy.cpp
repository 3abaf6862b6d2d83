#include "platform/storage/ContainsCopy.h"

#include <algorithm>
#include <limits>

namespace platform::storage {

std::size_t ContainsCopy::entryOf(uint32_t position) const
{
    return static_cast<std::size_t>(std::find(m_positions.begin(), m_positions.end(), position) -
                                    m_positions.begin());
}

std::string_view ContainsCopy::text(uint32_t id) const
{
    const std::vector<char>& bytes = m_chunks[id / ChunkTexts];
    const uint32_t start = m_offsets[id];
    const bool lastOfChunk = id + 1 == texts() || (id + 1) % ChunkTexts == 0;
    const std::size_t end = lastOfChunk ? bytes.size() : m_offsets[id + 1];
    return {bytes.data() + start, end - start - 1};
}

std::size_t ContainsCopy::memoryBytes() const
{
    std::size_t bytes =
        (m_positions.capacity() + m_textIds.capacity() + m_offsets.capacity()) * sizeof(uint32_t) +
        m_chunks.capacity() * sizeof(std::vector<char>);
    for (const std::vector<char>& chunk : m_chunks)
        bytes += chunk.capacity();
    return bytes;
}

ContainsCopyMaker::ContainsCopyMaker(int64_t expected)
{
    if (expected > 0) {
        const auto records = static_cast<std::size_t>(expected);
        m_copy.m_positions.reserve(records);
        m_copy.m_textIds.reserve(records);
        m_copy.m_offsets.reserve(records);
        m_copy.m_chunks.reserve(records / ContainsCopy::ChunkTexts + 1);
    }
}

bool ContainsCopyMaker::add(int64_t position, std::string_view text)
{
    if (position < 0 || position > std::numeric_limits<uint32_t>::max())
        return false;
    ContainsCopy& copy = m_copy;
    const std::size_t texts = copy.texts();
    // Equal texts follow each other in the key's order: comparing with the last one keeps
    // each once without a table of every text seen.
    if (texts == 0 || copy.text(static_cast<uint32_t>(texts - 1)) != text) {
        if (texts >= std::numeric_limits<uint32_t>::max())
            return false;
        if (texts % ContainsCopy::ChunkTexts == 0) {
            if (!copy.m_chunks.empty())
                copy.m_chunks.back().shrink_to_fit();
            copy.m_chunks.emplace_back();
        }
        std::vector<char>& bytes = copy.m_chunks.back();
        if (bytes.size() + text.size() + 1 > std::numeric_limits<uint32_t>::max())
            return false;
        copy.m_offsets.push_back(static_cast<uint32_t>(bytes.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back('\0');
    }
    copy.m_positions.push_back(static_cast<uint32_t>(position));
    copy.m_textIds.push_back(static_cast<uint32_t>(copy.texts() - 1));
    return true;
}

ContainsCopy ContainsCopyMaker::finish()
{
    if (!m_copy.m_chunks.empty())
        m_copy.m_chunks.back().shrink_to_fit();
    m_copy.m_chunks.shrink_to_fit();
    m_copy.m_offsets.shrink_to_fit();
    m_copy.m_positions.shrink_to_fit();
    m_copy.m_textIds.shrink_to_fit();
    return std::move(m_copy);
}

} // namespace platform::storage
