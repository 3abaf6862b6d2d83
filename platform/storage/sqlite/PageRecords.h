#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <functional>
#include <string>

// Reading a data file's records straight off its pages, by the engine's documented file format
// (b-tree pages, cells, records, overflow chains), whatever the state of its header, its schema
// and its keys: the way back to what a damaged file still holds.
namespace platform::storage::sqlite {

// Every record of the layout's table that a page of the file at path still holds, in physical
// order (by position), each once. The table's pages are those its tree reaches from the root
// the schema names (without a readable schema, the second page: the storage makes the table
// first). Where that tree is damaged or unknown, every other page laid out as a leaf of such a
// table whose cells are all records of the layout is read too (a page cut off from the tree by
// damage above it); an intact tree is read alone, since a leaf outside it is a free page that
// may still hold deleted records. Pages the header lists as free are never read, nor pages
// whose check fails (enciphered files). Without a readable header the page size is the one the
// storage makes its files with.
// The storage code: 0, 36 when no record and no table can be found, 47 when the schema's table
// has other columns than the layout's fields.
int readRecordPages(const std::string& path, const FileLayout& layout,
                    const std::function<void(const std::byte*)>& each);

} // namespace platform::storage::sqlite
