#include "platform/ui/list/SortOrder.h"

#include "platform/storage/ContainsSearch.h"

#include <cstring>

namespace platform::ui {

void SortOrder::addResetField(const void* address, std::size_t size)
{
    const auto* bytes = static_cast<const unsigned char*>(address);
    m_resetFields.push_back({address, size, {bytes, bytes + size}});
}

bool SortOrder::resetFieldsChanged()
{
    bool changed = false;
    for (ResetField& field : m_resetFields) {
        if (std::memcmp(field.last.data(), field.address, field.size) != 0) {
            changed = true;
            std::memcpy(field.last.data(), field.address, field.size);
        }
    }
    return changed;
}

void SortOrder::setContainsSearch(std::string searched, std::string sought, std::string condition)
{
    m_searched = std::move(searched);
    m_sought = std::move(sought);
    m_condition = std::move(condition);
    m_search.reset();
}

std::shared_ptr<storage::ContainsSearch> SortOrder::containsSearch(storage::RecordFile& file,
                                                                   const storage::Bindings* bindings)
{
    if (!m_search && !m_searched.empty() && m_key >= 0)
        m_search = std::make_shared<storage::ContainsSearch>(file, m_key, m_searched, m_sought,
                                                             m_condition, bindings);
    return m_search;
}

void SortOrder::prepareSearchCopy(storage::RecordFile& file, const storage::Bindings* bindings)
{
    if (const auto search = containsSearch(file, bindings))
        search->index().prepare();
}

void SortOrder::releaseSearchCopy()
{
    if (m_search)
        m_search->index().release();
}

} // namespace platform::ui
