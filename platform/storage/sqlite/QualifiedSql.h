#pragma once

#include <string>
#include <string_view>

namespace platform::storage::sqlite {

// The statement with its table `records` named in the attached database schema: every
// whole word "records" outside quoted names and texts becomes "schema.records".
std::string qualifiedSql(std::string_view sql, std::string_view schema);

} // namespace platform::storage::sqlite
