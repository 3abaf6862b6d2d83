#include "platform/storage/FilterSql.h"

#include "platform/storage/FilterExpression.h"
#include "platform/storage/FilterNodes.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/sqlite/SchemaSql.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>

namespace platform::storage {

namespace {

// SQLite's default limit on parameter numbers.
constexpr int LastParameter = 999;

double variableNumber(Bindings::Kind kind, const void* address)
{
    switch (kind) {
    case Bindings::Kind::Long: {
        int32_t v;
        std::memcpy(&v, address, sizeof v);
        return v;
    }
    case Bindings::Kind::Short: {
        int16_t v;
        std::memcpy(&v, address, sizeof v);
        return v;
    }
    case Bindings::Kind::Byte:
        return *static_cast<const uint8_t*>(address);
    case Bindings::Kind::Real: {
        double v;
        std::memcpy(&v, address, sizeof v);
        return v;
    }
    default:
        return 0;
    }
}

} // namespace

std::shared_ptr<const FilterSql> FilterSql::translate(const FilterExpression& expression,
                                                      const RecordFile& file)
{
    const filter::Node* root = expression.root();
    const std::byte* const* base = expression.baseOf(file);
    if (!expression.isValid() || !root || !base)
        return nullptr;
    std::shared_ptr<FilterSql> sql(new FilterSql(file.layout(), base));
    filter::SqlTerm term;
    if (!root->toSql(*sql, term))
        return nullptr;
    if (term.boolean)
        sql->m_condition = term.sql;
    else if (term.type == filter::ValueType::Number)
        sql->m_condition = std::string("(") + term.sql + " <> 0)";
    else
        sql->m_condition = std::string("q_truth(") + term.sql + ")";
    return sql;
}

std::shared_ptr<const FilterSql> FilterSql::translateText(const FilterExpression& expression,
                                                          const RecordFile& file)
{
    const filter::Node* root = expression.root();
    const std::byte* const* base = expression.baseOf(file);
    if (!expression.isValid() || !root || !base || root->type() != filter::ValueType::String)
        return nullptr;
    std::shared_ptr<FilterSql> sql(new FilterSql(file.layout(), base));
    filter::SqlTerm term;
    if (!root->toSql(*sql, term) || term.boolean)
        return nullptr;
    sql->m_condition = "(" + term.sql + ")";
    return sql;
}

std::string FilterSql::addParameter(Parameter parameter)
{
    const int number = FirstParameter + static_cast<int>(m_parameters.size());
    if (number > LastParameter)
        return {};
    m_parameters.push_back(std::move(parameter));
    std::string name = "?";
    name += std::to_string(number);
    return name;
}

std::string FilterSql::column(const std::byte* const* base, uint32_t offset, FieldType type)
{
    if (base != m_fileBase)
        return {};
    for (std::size_t i = 0; i < m_layout.fields.size(); ++i) {
        const FieldDef& field = m_layout.fields[i];
        if (field.offset == offset && field.type == type) {
            const int index = static_cast<int>(i);
            if (std::find(m_fields.begin(), m_fields.end(), index) == m_fields.end())
                m_fields.push_back(index);
            return sqlite::quoteName(field.name);
        }
    }
    return {};
}

bool FilterSql::usesOnly(const std::vector<int>& fields) const
{
    return std::all_of(m_fields.begin(), m_fields.end(), [&fields](int field) {
        return std::find(fields.begin(), fields.end(), field) != fields.end();
    });
}

bool FilterSql::usesVariables() const
{
    return std::any_of(m_parameters.begin(), m_parameters.end(), [](const Parameter& parameter) {
        return parameter.kind == Parameter::Kind::NumberVariable
               || parameter.kind == Parameter::Kind::TextVariable;
    });
}

int FilterSql::bind(sqlite3_stmt* statement) const
{
    int number = FirstParameter;
    for (const Parameter& parameter : m_parameters) {
        int rc = SQLITE_OK;
        switch (parameter.kind) {
        case Parameter::Kind::Number:
            rc = sqlite3_bind_double(statement, number, parameter.number);
            break;
        case Parameter::Kind::Text:
            rc = sqlite3_bind_text(statement, number, parameter.text.data(),
                                   static_cast<int>(parameter.text.size()), SQLITE_TRANSIENT);
            break;
        case Parameter::Kind::NumberVariable:
            rc = sqlite3_bind_double(statement, number,
                                     variableNumber(parameter.variableKind, parameter.address));
            break;
        case Parameter::Kind::TextVariable: {
            // Copied: the variable may change before the statement has run to its end.
            const char* bytes = static_cast<const char*>(parameter.address);
            std::size_t length = parameter.size;
            if (parameter.zeroTerminated) {
                const void* zero = std::memchr(bytes, 0, length);
                if (zero)
                    length = static_cast<std::size_t>(static_cast<const char*>(zero) - bytes);
            }
            rc = sqlite3_bind_text(statement, number, bytes, static_cast<int>(length),
                                   SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK)
            return rc;
        ++number;
    }
    return SQLITE_OK;
}

} // namespace platform::storage
