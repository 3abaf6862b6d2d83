#include "platform/storage/FilterScope.h"

#include "platform/storage/RecordFile.h"
#include "platform/text/CaseTable.h"

namespace platform::storage {

void FilterScope::addFile(RecordFile& file)
{
    m_sources.push_back({&file.layout(), &file, nullptr});
}

void FilterScope::addRecord(const FileLayout& layout, const std::byte* record)
{
    m_sources.push_back({&layout, nullptr, record});
}

int FilterScope::sourceOfPrefix(std::string_view prefix) const
{
    const std::string wanted = text::upper(prefix);
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        if (text::upper(m_sources[i].layout->prefix) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace platform::storage
