#pragma once

#include "platform/storage/ContainsIndex.h"
#include "platform/storage/FilterExpression.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A narrowing a view's walk can take through a ContainsIndex: while the condition holds, only
// the records whose indexed text contains the sought text can pass the view's filter, so the
// walk tests the copy in memory and reads just those records, on which the filter and the
// predicate still decide. The caller states the narrowing as three expression texts, all over
// bound variables: the searched text (over the file's fields), the sought text and the
// condition; it must hold whenever the condition is true and the sought text not empty.
namespace platform::storage {

class Bindings;

class ContainsSearch
{
public:
    ContainsSearch(RecordFile& file, int key, std::string searched, std::string sought,
                   std::string condition, const Bindings* bindings);

    ContainsIndex& index() { return m_index; }

    // At the start of a walk in the given key's order: whether it goes through the index (the
    // condition true, a sought text that is not empty and does not end in a blank, an index
    // that can serve). The marks of the sought text are kept while it and the copy stay.
    bool begin(int key);
    const std::string& sought() const { return m_sought; }
    // During a walk: the copy is made again after a write where it can be; inside a run of
    // writes the walk goes on with the copy it has (the records themselves are read anew).
    void follow();

    // Whether the entry's text contains the sought text (after begin() said yes).
    bool matches(std::size_t entry)
    {
        const uint32_t id = m_index.textId(entry);
        const std::size_t chunk = id / ChunkTexts;
        if (!m_chunkDone[chunk])
            markChunk(chunk);
        return (m_marks[id / 64] >> (id % 64)) & 1u;
    }

    // Texts whose marks are found in one go: the first page of a search that matches many
    // records needs one chunk, one that matches none scans every chunk.
    static constexpr std::size_t ChunkTexts = ContainsCopy::ChunkTexts;

private:
    bool refreshKeepingErrorState();
    void restart();
    void markChunk(std::size_t chunk);

    ContainsIndex m_index;
    FilterExpression m_soughtExpression;
    FilterExpression m_condition;
    std::string m_sought;
    uint64_t m_markedBuild = 0;
    std::string m_markedSought;
    std::vector<uint8_t> m_chunkDone;
    std::vector<uint64_t> m_marks;
};

} // namespace platform::storage
