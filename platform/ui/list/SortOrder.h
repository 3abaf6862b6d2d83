#pragma once

#include "platform/ui/list/Locator.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// One way a browse list can be sorted and narrowed: a key (-1: file order), a filter text over
// the file's fields and bound variables, the reset fields whose change makes the list read
// itself again, and the locator that works in this order.
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
};

} // namespace platform::ui
