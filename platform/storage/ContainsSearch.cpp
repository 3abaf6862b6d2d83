#include "platform/storage/ContainsSearch.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterScope.h"

#include <algorithm>
#include <cstring>

namespace platform::storage {

ContainsSearch::ContainsSearch(RecordFile& file, int key, std::string searched,
                               std::string sought, std::string condition,
                               const Bindings* bindings)
    : m_index(file, key, std::move(searched), bindings)
{
    FilterScope scope(bindings);
    scope.addFile(file);
    m_soughtExpression.compile(sought, scope);
    m_condition.compile(condition, scope);
    clearError();
}

bool ContainsSearch::begin(int key)
{
    if (key != m_index.key() || !m_soughtExpression.isValid() || m_soughtExpression.isEmpty()
        || !m_condition.isValid() || !m_condition.matches())
        return false;
    const std::string_view sought = m_soughtExpression.value();
    // A sought text ending in a blank could meet the blanks that pad the searched text; one
    // with a zero byte could span two texts of the pool. Both are left to the plain walk.
    if (sought.empty() || sought.back() == ' ' || sought.find('\0') != std::string_view::npos)
        return false;
    if (!refreshKeepingErrorState())
        return false;
    m_sought.assign(sought);
    if (m_markedBuild != m_index.builds() || m_markedSought != m_sought)
        restart();
    return true;
}

void ContainsSearch::follow()
{
    if (refreshKeepingErrorState() && m_markedBuild != m_index.builds())
        restart();
}

bool ContainsSearch::refreshKeepingErrorState()
{
    const int code = errorCode();
    const std::string file = errorFile();
    const bool ready = m_index.refresh();
    if (code == Error::None)
        clearError();
    else
        setError(code, file);
    return ready;
}

void ContainsSearch::restart()
{
    m_markedBuild = m_index.builds();
    m_markedSought = m_sought;
    const std::size_t texts = m_index.texts();
    m_chunkDone.assign((texts + ChunkTexts - 1) / ChunkTexts, 0);
    m_marks.assign((texts + 63) / 64, 0);
}

void ContainsSearch::markChunk(std::size_t chunk)
{
    m_chunkDone[chunk] = 1;
    const auto first = static_cast<uint32_t>(chunk * ChunkTexts);
    const auto last = static_cast<uint32_t>(std::min(m_index.texts(), (chunk + 1) * ChunkTexts));
    const std::string_view bytes = m_index.chunk(chunk);
    const char* const base = bytes.data();
    const char* at = base;
    const char* const end = base + bytes.size();
    const std::size_t length = m_sought.size();
    uint32_t id = first;
    // The chunk's texts are one run of bytes separated by zero bytes, which the sought text
    // does not hold, so a hit lies inside one text: mark it and go on after that text.
    while (at < end) {
        const void* hit = length == 1 ? std::memchr(at, m_sought[0], static_cast<std::size_t>(end - at))
                                      : memmem(at, static_cast<std::size_t>(end - at),
                                               m_sought.data(), length);
        if (!hit)
            break;
        const auto offset = static_cast<uint32_t>(static_cast<const char*>(hit) - base);
        while (id + 1 < last && m_index.offset(id + 1) <= offset)
            ++id;
        m_marks[id / 64] |= uint64_t{1} << (id % 64);
        if (++id >= last)
            break;
        at = base + m_index.offset(id);
    }
}

} // namespace platform::storage
