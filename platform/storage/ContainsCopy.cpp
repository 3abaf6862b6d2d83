#include "platform/storage/ContainsCopy.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform::storage {

std::size_t ContainsCopy::memoryBytes() const
{
    return m_positions.capacity() * sizeof(uint32_t) + m_textIds.capacity() * sizeof(uint32_t)
           + m_pool.capacity() + m_offsets.capacity() * sizeof(uint32_t);
}

std::size_t ContainsCopy::entryOf(uint32_t position) const
{
    return static_cast<std::size_t>(std::find(m_positions.begin(), m_positions.end(), position)
                                    - m_positions.begin());
}

ContainsCopyMaker::ContainsCopyMaker(int64_t expected)
{
    if (expected > 0) {
        m_copy.m_positions.reserve(static_cast<std::size_t>(expected));
        m_copy.m_textIds.reserve(static_cast<std::size_t>(expected));
    }
    m_copy.m_offsets.push_back(0);
}

bool ContainsCopyMaker::add(int64_t position, std::string_view text)
{
    if (position < 0 || position > std::numeric_limits<uint32_t>::max())
        return false;
    ContainsCopy& copy = m_copy;
    // Equal texts follow each other in the key's order: comparing with the last one keeps
    // each once without a table of every text seen.
    if (!m_anyText || copy.text(static_cast<uint32_t>(copy.texts() - 1)) != text) {
        if (copy.m_pool.size() + text.size() + 1 > std::numeric_limits<uint32_t>::max()
            || copy.m_offsets.size() >= std::numeric_limits<uint32_t>::max())
            return false;
        const std::size_t at = copy.m_pool.size();
        copy.m_pool.resize(at + text.size() + 1);
        std::memcpy(copy.m_pool.data() + at, text.data(), text.size());
        copy.m_pool.back() = '\0';
        copy.m_offsets.push_back(static_cast<uint32_t>(copy.m_pool.size()));
        m_anyText = true;
    }
    copy.m_positions.push_back(static_cast<uint32_t>(position));
    copy.m_textIds.push_back(static_cast<uint32_t>(copy.texts() - 1));
    return true;
}

ContainsCopy ContainsCopyMaker::finish()
{
    m_copy.m_pool.shrink_to_fit();
    m_copy.m_offsets.shrink_to_fit();
    m_copy.m_positions.shrink_to_fit();
    m_copy.m_textIds.shrink_to_fit();
    return std::move(m_copy);
}

} // namespace platform::storage
