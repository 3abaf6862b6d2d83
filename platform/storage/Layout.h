#pragma once

#include "platform/text/FixedString.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

// The field table of a record: what each member of a packed record struct is called, its type,
// size and offset, and the keys over the fields.
namespace platform::storage {

enum class FieldType : uint8_t { Byte, Short, Long, Real, String };

struct FieldDef
{
    std::string name; // as declared: "PR:KOD"
    FieldType type;
    uint32_t offset;
    uint32_t size;
};

struct KeyDef
{
    std::string name;         // "PR:pokod"
    std::vector<int> fields;  // indexes into FileLayout::fields, in key order
    bool unique = false;      // false: duplicates allowed
    bool noCase = false;      // string components compare through the case table
    bool optional = false;    // records whose key fields are all blank or zero are left out
    bool primary = false;
};

struct FileLayout
{
    std::string label;  // "PRIOSN"
    std::string prefix; // "PR"
    uint32_t recordSize = 0;
    std::vector<FieldDef> fields;
    std::vector<KeyDef> keys;
    std::string ownerPassword; // empty: none; otherwise the file is enciphered under it

    int fieldIndex(std::string_view name) const; // case-insensitive, with or without prefix; -1
    int keyIndex(std::string_view name) const;   // case-insensitive; -1
};

// The number a field of that type holds at an address of any alignment (records are packed);
// 0 for a text.
double fieldNumber(FieldType type, const std::byte* at);

template <typename T> struct FieldTypeOf;
template <> struct FieldTypeOf<uint8_t> { static constexpr FieldType value = FieldType::Byte; };
template <> struct FieldTypeOf<int16_t> { static constexpr FieldType value = FieldType::Short; };
template <> struct FieldTypeOf<int32_t> { static constexpr FieldType value = FieldType::Long; };
template <> struct FieldTypeOf<double> { static constexpr FieldType value = FieldType::Real; };
template <std::size_t N> struct FieldTypeOf<text::FixedString<N>>
{
    static constexpr FieldType value = FieldType::String;
};

// Builds a FileLayout from a packed record struct:
//   LayoutBuilder<Priosn>("PRIOSN", "PR").field("KOD", &Priosn::kod) ... .key(...).build()
template <typename Record>
class LayoutBuilder
{
    static_assert(std::is_standard_layout_v<Record> && std::is_trivially_copyable_v<Record>);

public:
    LayoutBuilder(std::string label, std::string prefix)
    {
        m_layout.label = std::move(label);
        m_layout.prefix = std::move(prefix);
        m_layout.recordSize = sizeof(Record);
    }

    template <typename Member>
    LayoutBuilder& field(const std::string& name, Member Record::*member)
    {
        static const Record probe{};
        const auto offset = static_cast<uint32_t>(reinterpret_cast<const char*>(&(probe.*member))
                                                  - reinterpret_cast<const char*>(&probe));
        m_layout.fields.push_back(
            {m_layout.prefix + ":" + name, FieldTypeOf<Member>::value, offset, sizeof(Member)});
        return *this;
    }

    struct KeyAttributes
    {
        bool unique = false;
        bool noCase = false;
        bool optional = false;
        bool primary = false;
    };

    // Fields named without the prefix, in key order.
    LayoutBuilder& key(const std::string& name, std::initializer_list<const char*> fields,
                       KeyAttributes attributes)
    {
        KeyDef key{m_layout.prefix + ":" + name, {}, attributes.unique, attributes.noCase,
                   attributes.optional, attributes.primary};
        for (const char* field : fields)
            key.fields.push_back(m_layout.fieldIndex(field));
        m_layout.keys.push_back(std::move(key));
        return *this;
    }

    LayoutBuilder& owner(std::string password)
    {
        m_layout.ownerPassword = std::move(password);
        return *this;
    }

    FileLayout build() const { return m_layout; }

private:
    FileLayout m_layout;
};

} // namespace platform::storage
