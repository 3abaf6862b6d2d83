#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <string_view>
#include <vector>

// What the names of a filter expression can refer to: bound variables, and the fields of record
// files or fixed records named as prefix:field.
namespace platform::storage {

class Bindings;
class RecordFile;

class FilterScope
{
public:
    struct Source
    {
        const FileLayout* layout;
        RecordFile* file;          // fields read from the file's buffer of the calling thread
        const std::byte* record;   // or from this fixed record when file is null
    };

    explicit FilterScope(const Bindings* bindings = nullptr) : m_bindings(bindings) {}

    void addFile(RecordFile& file);
    void addRecord(const FileLayout& layout, const std::byte* record);

    const Bindings* bindings() const { return m_bindings; }
    const std::vector<Source>& sources() const { return m_sources; }

    // The source whose prefix matches (without regard to case), or -1.
    int sourceOfPrefix(std::string_view prefix) const;

private:
    const Bindings* m_bindings;
    std::vector<Source> m_sources;
};

} // namespace platform::storage
