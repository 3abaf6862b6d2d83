#include "platform/storage/sqlite/QualifiedSql.h"

namespace platform::storage::sqlite {
namespace {

bool isWordCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
           || static_cast<unsigned char>(c) >= 0x80;
}

} // namespace

std::string qualifiedSql(std::string_view sql, std::string_view schema)
{
    static constexpr std::string_view Table = "records";
    std::string result;
    result.reserve(sql.size() + 4 * (schema.size() + 1));
    std::size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '"' || c == '\'') {
            // A quoted name or text runs to its closing quote; a doubled quote stays inside.
            std::size_t end = i + 1;
            while (end < sql.size()) {
                if (sql[end] == c) {
                    if (end + 1 < sql.size() && sql[end + 1] == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            end = end < sql.size() ? end + 1 : end;
            result.append(sql.substr(i, end - i));
            i = end;
            continue;
        }
        if (isWordCharacter(c)) {
            std::size_t end = i;
            while (end < sql.size() && isWordCharacter(sql[end]))
                ++end;
            const std::string_view word = sql.substr(i, end - i);
            const bool qualifiedAlready = i > 0 && sql[i - 1] == '.';
            if (word == Table && !qualifiedAlready) {
                result.append(schema);
                result += '.';
            }
            result.append(word);
            i = end;
            continue;
        }
        result += c;
        ++i;
    }
    return result;
}

} // namespace platform::storage::sqlite
