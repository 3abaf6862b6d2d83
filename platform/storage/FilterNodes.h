#pragma once

#include "platform/storage/Bindings.h"
#include "platform/storage/Layout.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The compiled form of a filter expression: a tree of nodes built once by the parser and
// evaluated per record. Every node knows its value type at compile time; text results live in
// scratch buffers owned by the node, so an evaluation allocates nothing once the buffers have
// grown to the texts' sizes. A text view a node returns stays valid until that node is
// evaluated again.
namespace platform::storage {
class FilterSql;
}

namespace platform::storage::filter {

enum class ValueType : uint8_t { Number, String };

// A node as SQL: the expression, its type and, for a text, the width it is blank-padded to
// (a stored text has no trailing blanks, the record buffer pads it); boolean when it is a
// condition (an SQL truth value, 0 or 1 as a number).
struct SqlTerm
{
    std::string sql;
    ValueType type = ValueType::Number;
    uint32_t pad = 0;
    bool boolean = false;
};

class Node
{
public:
    explicit Node(ValueType type) : m_type(type) {}
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    ValueType type() const { return m_type; }
    virtual double number() = 0;         // a text is read as the number it begins with
    virtual std::string_view text() = 0; // a number in its default text form
    virtual bool truth() = 0;            // a number not 0; a text not blank
    // The node as SQL over the walked file's columns; false when it cannot be.
    virtual bool toSql(FilterSql& out, SqlTerm& term) const = 0;

private:
    ValueType m_type;
};

using NodePtr = std::unique_ptr<Node>;

// Conversions shared by the nodes.
double numberOfText(std::string_view text);
std::string_view textOfNumber(double value, std::string& scratch);
// instring's search: the 1-based position, 0 when absent or the arguments are out of range.
double findInString(std::string_view sought, std::string_view searched, double step, double start);
// N of a text picture "@sN" (any case); false when the picture is not one.
bool textPictureWidth(std::string_view picture, std::size_t& width);

class NumberNode : public Node
{
public:
    NumberNode() : Node(ValueType::Number) {}
    std::string_view text() override { return textOfNumber(number(), m_scratch); }
    bool truth() override { return number() != 0; }

private:
    std::string m_scratch;
};

class StringNode : public Node
{
public:
    StringNode() : Node(ValueType::String) {}
    double number() override { return numberOfText(text()); }
    bool truth() override;
};

class NumberLiteral final : public NumberNode
{
public:
    explicit NumberLiteral(double value) : m_value(value) {}
    double number() override { return m_value; }

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    double m_value;
};

class StringLiteral final : public StringNode
{
public:
    explicit StringLiteral(std::string value) : m_value(std::move(value)) {}
    std::string_view text() override { return m_value; }
    const std::string& value() const { return m_value; }

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    std::string m_value;
};

class NumberVariable final : public NumberNode
{
public:
    NumberVariable(Bindings::Kind kind, const void* address) : m_kind(kind), m_address(address) {}
    double number() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    Bindings::Kind m_kind;
    const void* m_address;
};

class StringVariable final : public StringNode
{
public:
    StringVariable(const char* address, std::size_t size, bool zeroTerminated)
        : m_address(address), m_size(size), m_zeroTerminated(zeroTerminated)
    {
    }
    std::string_view text() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    const char* m_address;
    std::size_t m_size;
    bool m_zeroTerminated;
};

// A field of a record: base points at the slot that holds the record's address for the
// current evaluation.
class NumberField final : public NumberNode
{
public:
    NumberField(const std::byte* const* base, const FieldDef& field)
        : m_base(base), m_offset(field.offset), m_type(field.type)
    {
    }
    double number() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    const std::byte* const* m_base;
    uint32_t m_offset;
    FieldType m_type;
};

class StringField final : public StringNode
{
public:
    StringField(const std::byte* const* base, const FieldDef& field)
        : m_base(base), m_offset(field.offset), m_size(field.size)
    {
    }
    std::string_view text() override
    {
        return {reinterpret_cast<const char*>(*m_base + m_offset), m_size};
    }

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    const std::byte* const* m_base;
    uint32_t m_offset;
    uint32_t m_size;
};

enum class CompareOp : uint8_t { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

// Texts compare as texts with trailing blanks ignored; as soon as one side is a number both
// compare as numbers.
class Comparison final : public NumberNode
{
public:
    Comparison(CompareOp op, NodePtr left, NodePtr right);
    double number() override { return truth() ? 1 : 0; }
    bool truth() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    CompareOp m_op;
    NodePtr m_left;
    NodePtr m_right;
    bool m_texts;
};

class Logical final : public NumberNode
{
public:
    enum class Op : uint8_t { And, Or };
    Logical(Op op, NodePtr left, NodePtr right)
        : m_op(op), m_left(std::move(left)), m_right(std::move(right))
    {
    }
    double number() override { return truth() ? 1 : 0; }
    bool truth() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    Op m_op;
    NodePtr m_left;
    NodePtr m_right;
};

class Negation final : public NumberNode
{
public:
    explicit Negation(NodePtr operand) : m_operand(std::move(operand)) {}
    double number() override { return truth() ? 1 : 0; }
    bool truth() override { return !m_operand->truth(); }

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    NodePtr m_operand;
};

// instring(sought, searched, step[, start]): the 1-based position in searched at which sought
// occurs, trying start, start + step, start + 2 * step ...; 0 when absent, when sought is empty
// or when step is below 1.
class InString final : public NumberNode
{
public:
    InString(NodePtr sought, NodePtr searched, NodePtr step, NodePtr start);
    double number() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    NodePtr m_sought;
    NodePtr m_searched;
    NodePtr m_step;
    NodePtr m_start;
};

class Upper final : public StringNode
{
public:
    explicit Upper(NodePtr operand) : m_operand(std::move(operand)) {}
    std::string_view text() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    NodePtr m_operand;
    std::string m_scratch;
};

class Clip final : public StringNode
{
public:
    explicit Clip(NodePtr operand) : m_operand(std::move(operand)) {}
    std::string_view text() override;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    NodePtr m_operand;
};

// format(value, picture). The text picture "@sN" is done here without allocating; the other
// pictures go through the picture formatter.
class Format final : public StringNode
{
public:
    Format(NodePtr value, std::string picture);
    std::string_view text() override;

    // Whether a picture can be used: a text picture wider than MaxTextWidth is refused.
    static bool acceptable(std::string_view picture);
    static constexpr std::size_t MaxTextWidth = 65535;

    bool toSql(FilterSql& out, SqlTerm& term) const override;

private:
    NodePtr m_value;
    std::string m_picture;
    std::size_t m_textWidth = 0; // N of "@sN"; 0 for other pictures
    bool m_isText = false;
    std::string m_scratch;
    std::string m_numberScratch;
};

} // namespace platform::storage::filter
