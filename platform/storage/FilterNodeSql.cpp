// The filter nodes as SQL (FilterSql). Each term keeps the evaluator's meaning: numbers are SQL
// numbers, texts are SQL texts of the same bytes (a field's stored text lacks the buffer's
// padding, which the term's pad width restores where it matters), conditions are 0 or 1.
#include "platform/storage/FilterNodes.h"
#include "platform/storage/FilterSql.h"

namespace platform::storage::filter {

namespace {

std::string sqlNumber(const SqlTerm& term)
{
    return term.type == ValueType::Number ? term.sql : std::string("q_num(") + term.sql + ")";
}

// A text expression and the width it stands for when padded.
std::string sqlText(const SqlTerm& term, uint32_t& pad)
{
    if (term.type == ValueType::String) {
        pad = term.pad;
        return term.sql;
    }
    pad = 0;
    return "q_text(" + term.sql + ")";
}

std::string sqlTruth(const SqlTerm& term)
{
    if (term.boolean)
        return term.sql;
    if (term.type == ValueType::Number)
        return "(" + term.sql + " <> 0)";
    return "q_truth(" + term.sql + ")";
}

void setBoolean(SqlTerm& term, std::string sql)
{
    term.sql = std::move(sql);
    term.type = ValueType::Number;
    term.pad = 0;
    term.boolean = true;
}

bool parameter(FilterSql& out, SqlTerm& term, FilterSql::Parameter value, ValueType type)
{
    term.sql = out.addParameter(std::move(value));
    term.type = type;
    return !term.sql.empty();
}

} // namespace

bool NumberLiteral::toSql(FilterSql& out, SqlTerm& term) const
{
    FilterSql::Parameter value{FilterSql::Parameter::Kind::Number};
    value.number = m_value;
    return parameter(out, term, std::move(value), ValueType::Number);
}

bool StringLiteral::toSql(FilterSql& out, SqlTerm& term) const
{
    FilterSql::Parameter value{FilterSql::Parameter::Kind::Text};
    value.text = m_value;
    return parameter(out, term, std::move(value), ValueType::String);
}

bool NumberVariable::toSql(FilterSql& out, SqlTerm& term) const
{
    FilterSql::Parameter value{FilterSql::Parameter::Kind::NumberVariable};
    value.variableKind = m_kind;
    value.address = m_address;
    return parameter(out, term, std::move(value), ValueType::Number);
}

bool StringVariable::toSql(FilterSql& out, SqlTerm& term) const
{
    FilterSql::Parameter value{FilterSql::Parameter::Kind::TextVariable};
    value.address = m_address;
    value.size = m_size;
    value.zeroTerminated = m_zeroTerminated;
    return parameter(out, term, std::move(value), ValueType::String);
}

bool NumberField::toSql(FilterSql& out, SqlTerm& term) const
{
    term.sql = out.column(m_base, m_offset, m_type);
    term.type = ValueType::Number;
    return !term.sql.empty();
}

bool StringField::toSql(FilterSql& out, SqlTerm& term) const
{
    term.sql = out.column(m_base, m_offset, FieldType::String);
    term.type = ValueType::String;
    term.pad = m_size;
    return !term.sql.empty();
}

bool Comparison::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm left;
    SqlTerm right;
    if (!m_left->toSql(out, left) || !m_right->toSql(out, right))
        return false;
    if (m_texts) {
        // Trailing blanks never count, so the padding does not matter here.
        const std::string both = std::string("(") + left.sql + ", " + right.sql + ")";
        switch (m_op) {
        case CompareOp::Equal:
            setBoolean(term, std::string("q_equal") + both);
            return true;
        case CompareOp::NotEqual:
            setBoolean(term, std::string("(NOT q_equal") + both + ")");
            return true;
        case CompareOp::Less:
            setBoolean(term, std::string("(q_compare") + both + " < 0)");
            return true;
        case CompareOp::Greater:
            setBoolean(term, std::string("(q_compare") + both + " > 0)");
            return true;
        case CompareOp::LessEqual:
            setBoolean(term, std::string("(q_compare") + both + " <= 0)");
            return true;
        case CompareOp::GreaterEqual:
            setBoolean(term, std::string("(q_compare") + both + " >= 0)");
            return true;
        }
        return false;
    }
    static const char* const operators[] = {" = ", " <> ", " < ", " > ", " <= ", " >= "};
    setBoolean(term, std::string("(") + sqlNumber(left) + operators[static_cast<int>(m_op)] +
                         sqlNumber(right) + ")");
    return true;
}

bool Logical::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm left;
    SqlTerm right;
    if (!m_left->toSql(out, left) || !m_right->toSql(out, right))
        return false;
    setBoolean(term, std::string("(") + sqlTruth(left) + (m_op == Op::And ? " AND " : " OR ") +
                         sqlTruth(right) + ")");
    return true;
}

bool Negation::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm operand;
    if (!m_operand->toSql(out, operand))
        return false;
    setBoolean(term, std::string("(NOT ") + sqlTruth(operand) + ")");
    return true;
}

bool InString::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm sought;
    SqlTerm searched;
    SqlTerm step;
    SqlTerm start;
    if (!m_sought->toSql(out, sought) || !m_searched->toSql(out, searched) ||
        !m_step->toSql(out, step) || (m_start && !m_start->toSql(out, start)))
        return false;
    uint32_t soughtPad = 0;
    uint32_t searchedPad = 0;
    const std::string soughtSql = sqlText(sought, soughtPad);
    const std::string searchedSql = sqlText(searched, searchedPad);
    term.sql = std::string("q_instring(") + soughtSql + ", " + std::to_string(soughtPad) + ", " +
               searchedSql + ", " + std::to_string(searchedPad) + ", " + sqlNumber(step) + ", " +
               (m_start ? sqlNumber(start) : std::string("1")) + ")";
    term.type = ValueType::Number;
    return true;
}

bool Upper::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm operand;
    if (!m_operand->toSql(out, operand))
        return false;
    uint32_t pad = 0;
    term.sql = std::string("q_upper(") + sqlText(operand, pad) + ")";
    term.type = ValueType::String;
    term.pad = pad; // a blank stays a blank
    return true;
}

bool Clip::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm operand;
    if (!m_operand->toSql(out, operand))
        return false;
    uint32_t pad = 0;
    term.sql = std::string("q_clip(") + sqlText(operand, pad) + ")";
    term.type = ValueType::String;
    return true;
}

bool Format::toSql(FilterSql& out, SqlTerm& term) const
{
    SqlTerm value;
    if (!m_value->toSql(out, value))
        return false;
    term.type = ValueType::String;
    if (m_isText) {
        // The clipped result stands for itself padded to the picture's width.
        uint32_t pad = 0;
        const std::string source = sqlText(value, pad);
        term.sql =
            std::string("q_format_text(") + source + ", " + std::to_string(m_textWidth) + ")";
        term.pad = static_cast<uint32_t>(m_textWidth);
        return true;
    }
    FilterSql::Parameter picture{FilterSql::Parameter::Kind::Text};
    picture.text = m_picture;
    const std::string pictureSql = out.addParameter(std::move(picture));
    if (pictureSql.empty())
        return false;
    term.sql = std::string("q_format(") + sqlNumber(value) + ", " + pictureSql + ")";
    return true;
}

} // namespace platform::storage::filter
