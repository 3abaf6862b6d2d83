#pragma once

#include "platform/storage/Bindings.h"
#include "platform/storage/Layout.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

// A compiled filter expression as an SQL condition over a record file's columns, so that a walk
// lets SQLite reject records before they are fetched and decoded. Literals and bound variables
// become parameters ?101, ?102 ... whose values are taken from the variables each time a walk
// query is bound, just as the evaluator reads them per record. The condition uses the filter
// functions every connection registers (sqlite/FilterFunctions) and gives exactly the
// evaluator's result; an expression that cannot be expressed (fields of another file or record)
// gives no FilterSql, and the caller evaluates it per record instead.
namespace platform::storage {

class FilterExpression;
class RecordFile;

namespace filter {
struct SqlTerm;
}

class FilterSql
{
public:
    // Null when the expression is empty, invalid or cannot be translated.
    static std::shared_ptr<const FilterSql> translate(const FilterExpression& expression,
                                                      const RecordFile& file);

    // A text-valued expression (no condition) as SQL, for reading its value per record: null
    // when it is empty, invalid, not a text or cannot be translated. Stored texts have no
    // trailing blanks, so the value read is the evaluator's without its trailing blanks.
    static std::shared_ptr<const FilterSql> translateText(const FilterExpression& expression,
                                                          const RecordFile& file);

    // A parenthesized condition (the text expression of translateText).
    const std::string& condition() const { return m_condition; }
    // Whether the condition names only these fields (indexes into the layout's fields).
    bool usesOnly(const std::vector<int>& fields) const;
    // Whether a parameter takes its value from a bound variable.
    bool usesVariables() const;
    // Binds the parameters from the current values; the SQLite result code.
    int bind(sqlite3_stmt* statement) const;

    static constexpr int FirstParameter = 101;

    // Used by the nodes while translating.
    struct Parameter
    {
        enum class Kind : uint8_t { Number, Text, NumberVariable, TextVariable };
        Kind kind;
        double number = 0;
        std::string text;
        Bindings::Kind variableKind = Bindings::Kind::Long;
        const void* address = nullptr;
        std::size_t size = 0;
        bool zeroTerminated = false;
    };
    // "?n" of a new parameter, or empty when there are too many.
    std::string addParameter(Parameter parameter);
    // The column of a field of the walked file read through base, or empty when base is another
    // source's.
    std::string column(const std::byte* const* base, uint32_t offset, FieldType type);

private:
    FilterSql(const FileLayout& layout, const std::byte* const* fileBase)
        : m_layout(layout), m_fileBase(fileBase)
    {
    }

    const FileLayout& m_layout;
    const std::byte* const* m_fileBase;
    std::string m_condition;
    std::vector<Parameter> m_parameters;
    std::vector<int> m_fields;
};

} // namespace platform::storage
