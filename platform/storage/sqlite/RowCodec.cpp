#include "platform/storage/sqlite/RowCodec.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstring>

namespace platform::storage::sqlite {

namespace {

template <typename T>
T load(const std::byte* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void store(std::byte* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

} // namespace

RowCodec::RowCodec(const FileLayout& layout)
    : m_layout(layout)
{
}

int RowCodec::bindField(sqlite3_stmt* statement, int parameter, const FieldDef& field,
                        const std::byte* record) const
{
    const std::byte* at = record + field.offset;
    switch (field.type) {
    case FieldType::Byte:
        return sqlite3_bind_int(statement, parameter, load<uint8_t>(at));
    case FieldType::Short:
        return sqlite3_bind_int(statement, parameter, load<int16_t>(at));
    case FieldType::Long:
        return sqlite3_bind_int(statement, parameter, load<int32_t>(at));
    case FieldType::Real:
        return sqlite3_bind_double(statement, parameter, load<double>(at));
    case FieldType::String: {
        const char* text = reinterpret_cast<const char*>(at);
        int length = static_cast<int>(field.size);
        while (length > 0 && text[length - 1] == ' ')
            --length;
        return sqlite3_bind_text(statement, parameter, text, length, SQLITE_STATIC);
    }
    }
    return SQLITE_MISUSE;
}

int RowCodec::bindFields(sqlite3_stmt* statement, const std::byte* record) const
{
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        const int rc = bindField(statement, static_cast<int>(i + 1), m_layout.fields[i], record);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

int RowCodec::bindKey(sqlite3_stmt* statement, const KeyDef& key, const std::byte* record) const
{
    for (std::size_t c = 0; c < key.fields.size(); ++c) {
        const FieldDef& field = m_layout.fields[static_cast<std::size_t>(key.fields[c])];
        const int rc = bindField(statement, static_cast<int>(c + 1), field, record);
        if (rc != SQLITE_OK)
            return rc;
    }
    return SQLITE_OK;
}

void RowCodec::read(sqlite3_stmt* statement, int firstColumn, std::byte* record) const
{
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        const FieldDef& field = m_layout.fields[i];
        const int column = firstColumn + static_cast<int>(i);
        std::byte* at = record + field.offset;
        switch (field.type) {
        case FieldType::Byte:
            store(at, static_cast<uint8_t>(sqlite3_column_int(statement, column)));
            break;
        case FieldType::Short:
            store(at, static_cast<int16_t>(sqlite3_column_int(statement, column)));
            break;
        case FieldType::Long:
            store(at, static_cast<int32_t>(sqlite3_column_int64(statement, column)));
            break;
        case FieldType::Real:
            store(at, sqlite3_column_double(statement, column));
            break;
        case FieldType::String: {
            const auto* text = sqlite3_column_text(statement, column);
            std::size_t length = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
            if (length > field.size)
                length = field.size;
            if (length)
                std::memcpy(at, text, length);
            std::memset(at + length, ' ', field.size - length);
            break;
        }
        }
    }
}

void RowCodec::clear(std::byte* record) const
{
    std::memset(record, 0, m_layout.recordSize);
    for (const FieldDef& field : m_layout.fields)
        if (field.type == FieldType::String)
            std::memset(record + field.offset, ' ', field.size);
}

} // namespace platform::storage::sqlite
