#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <functional>
#include <string>

// Reading what is left of a damaged data file.
namespace platform::storage::sqlite {

class RowCodec;
class SchemaSql;

// Every record of the file at path that can still be read, in physical order, on a read-only
// connection of its own. A run of readable records is read as one scan; where a scan meets a
// part that cannot be read, the first readable position beyond it is found by seeks (a seek
// lands in the damaged part or beyond it, so doubling steps and then halving find its end)
// and the scan goes on from there. The storage code: 0 when the end was reached, 36 when
// nothing of the file can be read, 47 when its records are not of this layout.
int salvageRecords(const std::string& path, const FileLayout& layout, const SchemaSql& schema,
                   const RowCodec& codec, const std::function<void(const std::byte*)>& each);

} // namespace platform::storage::sqlite
