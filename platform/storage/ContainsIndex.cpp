#include "platform/storage/ContainsIndex.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterExpression.h"
#include "platform/storage/FilterScope.h"
#include "platform/storage/FilterSql.h"

#include <algorithm>
#include <limits>

namespace platform::storage {

namespace {

uint64_t hashOf(std::string_view text)
{
    uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The distinct texts seen so far while a copy is made: an open-addressing table of text ids
// over the pool, so that a text is never held twice.
class TextTable
{
public:
    // expected: about how many texts there will be, so that the table seldom grows.
    TextTable(const std::vector<char>& pool, const std::vector<uint32_t>& offsets,
              std::size_t expected)
        : m_pool(pool), m_offsets(offsets)
    {
        std::size_t slots = std::size_t{1} << 12;
        while (slots < expected * 2)
            slots *= 2;
        m_slots.assign(slots, Empty);
    }

    // The id of an equal text already kept, or Empty with the slot to use remembered.
    uint32_t find(std::string_view text)
    {
        m_slot = slotOf(hashOf(text));
        for (;; m_slot = (m_slot + 1) & (m_slots.size() - 1)) {
            const uint32_t id = m_slots[m_slot];
            if (id == Empty || textOf(id) == text)
                return id;
        }
    }

    // Records the text just added to the pool under id in the slot find() left.
    void insert(uint32_t id)
    {
        m_slots[m_slot] = id;
        if (++m_used * 2 > m_slots.size())
            grow();
    }

    static constexpr uint32_t Empty = std::numeric_limits<uint32_t>::max();

private:
    std::string_view textOf(uint32_t id) const
    {
        return {m_pool.data() + m_offsets[id], m_offsets[id + 1] - m_offsets[id] - 1};
    }
    std::size_t slotOf(uint64_t hash) const { return hash & (m_slots.size() - 1); }

    void grow()
    {
        std::vector<uint32_t> old = std::move(m_slots);
        m_slots.assign(old.size() * 2, Empty);
        for (const uint32_t id : old) {
            if (id == Empty)
                continue;
            std::size_t slot = slotOf(hashOf(textOf(id)));
            while (m_slots[slot] != Empty)
                slot = (slot + 1) & (m_slots.size() - 1);
            m_slots[slot] = id;
        }
    }

    const std::vector<char>& m_pool;
    const std::vector<uint32_t>& m_offsets;
    std::vector<uint32_t> m_slots;
    std::size_t m_slot = 0;
    std::size_t m_used = 0;
};

} // namespace

ContainsIndex::ContainsIndex(RecordFile& file, int key, std::string searched,
                             const Bindings* bindings)
    : m_file(file), m_key(key), m_searched(std::move(searched)), m_bindings(bindings)
{
}

ContainsIndex::~ContainsIndex() = default;

void ContainsIndex::clear()
{
    m_built = false;
    m_positions = {};
    m_textIds = {};
    m_pool = {};
    m_offsets = {};
}

bool ContainsIndex::refresh()
{
    if (!m_translated) {
        m_translated = true;
        FilterScope scope(m_bindings);
        scope.addFile(m_file);
        const FilterExpression expression(m_searched, scope);
        m_sql = FilterSql::translateText(expression, m_file);
        clearError();
    }
    // Records written inside an open run may still be rolled back: no copy of them is kept.
    if (!m_sql || !m_file.isOpen() || m_file.inStream())
        return false;
    const ContentVersion version = m_file.contentVersion();
    if (m_built && version == m_version)
        return true;
    clear();
    if (!build(*m_sql)) {
        clear();
        return false;
    }
    m_version = version;
    m_built = true;
    ++m_builds;
    return true;
}

bool ContainsIndex::build(const FilterSql& sql)
{
    const int64_t records = m_file.records();
    if (records > 0) {
        m_positions.reserve(static_cast<std::size_t>(records));
        m_textIds.reserve(static_cast<std::size_t>(records));
    }
    m_offsets.push_back(0);
    TextTable table(m_pool, m_offsets, static_cast<std::size_t>(std::max<int64_t>(records, 0)));
    bool fits = true;
    const int code = m_file.scanKeyOrder(m_key, sql, [&](int64_t position, std::string_view text) {
        if (position < 0 || position > std::numeric_limits<uint32_t>::max()) {
            fits = false;
            return false;
        }
        uint32_t id = table.find(text);
        if (id == TextTable::Empty) {
            if (m_pool.size() + text.size() + 1 > std::numeric_limits<uint32_t>::max()
                || m_offsets.size() >= TextTable::Empty) {
                fits = false;
                return false;
            }
            id = static_cast<uint32_t>(m_offsets.size() - 1);
            m_pool.insert(m_pool.end(), text.begin(), text.end());
            m_pool.push_back('\0');
            m_offsets.push_back(static_cast<uint32_t>(m_pool.size()));
            table.insert(id);
        }
        m_positions.push_back(static_cast<uint32_t>(position));
        m_textIds.push_back(id);
        return true;
    });
    m_pool.shrink_to_fit();
    m_offsets.shrink_to_fit();
    m_positions.shrink_to_fit();
    m_textIds.shrink_to_fit();
    return code == Error::None && fits;
}

std::size_t ContainsIndex::entryOf(int64_t position) const
{
    if (position < 0 || position > std::numeric_limits<uint32_t>::max())
        return NoEntry;
    const auto wanted = static_cast<uint32_t>(position);
    const auto found = std::find(m_positions.begin(), m_positions.end(), wanted);
    return found == m_positions.end() ? NoEntry
                                      : static_cast<std::size_t>(found - m_positions.begin());
}

std::string_view ContainsIndex::text(uint32_t id) const
{
    return {m_pool.data() + m_offsets[id], m_offsets[id + 1] - m_offsets[id] - 1};
}

std::size_t ContainsIndex::memoryBytes() const
{
    return m_positions.capacity() * sizeof(uint32_t) + m_textIds.capacity() * sizeof(uint32_t)
           + m_pool.capacity() + m_offsets.capacity() * sizeof(uint32_t);
}

} // namespace platform::storage
