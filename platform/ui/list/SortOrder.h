#pragma once

#include "platform/ui/list/Locator.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// One way a browse list can be sorted and narrowed: a key (-1: file order), a filter text over
// the file's fields and bound variables, the reset fields whose change makes the list read
// itself again, and the locator that works in this order.
namespace platform::storage {
class Bindings;
class ContainsSearch;
class RecordFile;
} // namespace platform::storage

namespace platform::ui {

class SortOrder
{
public:
    explicit SortOrder(int key = -1, std::string filter = {})
        : m_key(key), m_filter(std::move(filter))
    {
    }

    int key() const { return m_key; }
    const std::string& filter() const { return m_filter; }
    void setFilter(std::string filter) { m_filter = std::move(filter); }

    template <typename T> void addResetField(const T& variable)
    {
        addResetField(&variable, sizeof variable);
    }
    void addResetField(const void* address, std::size_t size);
    // Whether a reset field differs from the value last remembered; remembers the current ones.
    bool resetFieldsChanged();

    // A "contains" search the filter makes: while condition holds, a record passes only when
    // the searched text (over the fields) contains the sought text; the list's walks then
    // test an in-memory copy of the searched texts in this order (storage::ContainsSearch).
    void setContainsSearch(std::string searched, std::string sought, std::string condition);
    // The search over the file, made at the first call (null when the order has none).
    std::shared_ptr<storage::ContainsSearch> containsSearch(storage::RecordFile& file,
                                                            const storage::Bindings* bindings);
    // Starts making the search's copy on a thread of its own, so that the first search in this
    // order finds it made (nothing when the order has no search or the copy is up to date).
    void prepareSearchCopy(storage::RecordFile& file, const storage::Bindings* bindings);
    // Gives the memory of the search's copy back; it is made again by the next search.
    void releaseSearchCopy();

    void setLocator(std::unique_ptr<Locator> locator) { m_locator = std::move(locator); }
    Locator* locator() const { return m_locator.get(); }

private:
    struct ResetField
    {
        const void* address;
        std::size_t size;
        std::vector<unsigned char> last;
    };

    int m_key;
    std::string m_filter;
    std::vector<ResetField> m_resetFields;
    std::unique_ptr<Locator> m_locator;
    std::string m_searched;
    std::string m_sought;
    std::string m_condition;
    std::shared_ptr<storage::ContainsSearch> m_search;
};

} // namespace platform::ui
