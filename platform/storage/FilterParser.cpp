#include "platform/storage/FilterParser.h"

#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/CaseTable.h"

#include <charconv>

namespace platform::storage {

using namespace filter;

namespace {

// Nesting deeper than this is refused rather than risking the stack.
constexpr int MaxDepth = 200;

bool isNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool isNamePart(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == ':';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string lowered(std::string_view name)
{
    return text::lower(name);
}

} // namespace

FilterParser::FilterParser(const FilterScope& scope, const std::byte* const* bases)
    : m_scope(scope)
    , m_bases(bases)
{
}

bool FilterParser::fail(int code, std::string message)
{
    if (m_error == 0) {
        m_error = code;
        m_errorOffset = m_tokenStart;
        m_errorMessage = std::move(message);
    }
    return false;
}

int FilterParser::parse(std::string_view text, NodePtr& result)
{
    result.reset();
    m_text = text;
    m_at = 0;
    m_depth = 0;
    m_error = 0;
    m_errorOffset = 0;
    m_errorMessage.clear();
    advance();
    NodePtr root = parseOr();
    if (m_error == 0 && m_token != Token::End)
        fail(Error::BadExpression, "unexpected text after the expression");
    if (m_error != 0)
        return m_error;
    result = std::move(root);
    return Error::None;
}

void FilterParser::advance()
{
    while (m_at < m_text.size() && isBlank(m_text[m_at]))
        ++m_at;
    m_tokenStart = m_at;
    m_tokenText.clear();
    if (m_at >= m_text.size()) {
        m_token = Token::End;
        return;
    }
    const char c = m_text[m_at];
    const auto uc = static_cast<unsigned char>(c);

    if (isDigit(c) || (c == '.' && m_at + 1 < m_text.size() && isDigit(m_text[m_at + 1]))) {
        std::size_t end = m_at;
        while (end < m_text.size() && isDigit(m_text[end]))
            ++end;
        if (end < m_text.size() && m_text[end] == '.') {
            ++end;
            while (end < m_text.size() && isDigit(m_text[end]))
                ++end;
        }
        const auto parsed = std::from_chars(m_text.data() + m_at, m_text.data() + end,
                                            m_tokenNumber, std::chars_format::fixed);
        const bool glued = end < m_text.size() && isNamePart(static_cast<unsigned char>(m_text[end]));
        m_token = (parsed.ec == std::errc{} && !glued) ? Token::Number : Token::Bad;
        m_at = end;
        return;
    }
    if (c == '\'') {
        // '' inside a literal is one quote.
        std::size_t at = m_at + 1;
        while (true) {
            if (at >= m_text.size()) {
                m_token = Token::Bad;
                m_at = at;
                return;
            }
            if (m_text[at] == '\'') {
                if (at + 1 < m_text.size() && m_text[at + 1] == '\'') {
                    m_tokenText.push_back('\'');
                    at += 2;
                    continue;
                }
                break;
            }
            m_tokenText.push_back(m_text[at++]);
        }
        m_token = Token::String;
        m_at = at + 1;
        return;
    }
    if (c == '@') {
        std::size_t end = m_at + 1;
        while (end < m_text.size() && !isBlank(m_text[end]) && m_text[end] != ','
               && m_text[end] != ')' && m_text[end] != '(')
            ++end;
        m_tokenText.assign(m_text.substr(m_at, end - m_at));
        m_token = Token::Picture;
        m_at = end;
        return;
    }
    if (isNameStart(uc)) {
        std::size_t end = m_at;
        while (end < m_text.size() && isNamePart(static_cast<unsigned char>(m_text[end])))
            ++end;
        m_tokenText.assign(m_text.substr(m_at, end - m_at));
        m_token = Token::Name;
        m_at = end;
        return;
    }
    ++m_at;
    switch (c) {
    case '(':
        m_token = Token::LeftParen;
        return;
    case ')':
        m_token = Token::RightParen;
        return;
    case ',':
        m_token = Token::Comma;
        return;
    case '-':
        m_token = Token::Minus;
        return;
    case '=':
        m_token = Token::Equal;
        return;
    case '<':
        if (m_at < m_text.size() && m_text[m_at] == '>') {
            ++m_at;
            m_token = Token::NotEqual;
        } else if (m_at < m_text.size() && m_text[m_at] == '=') {
            ++m_at;
            m_token = Token::LessEqual;
        } else {
            m_token = Token::Less;
        }
        return;
    case '>':
        if (m_at < m_text.size() && m_text[m_at] == '=') {
            ++m_at;
            m_token = Token::GreaterEqual;
        } else {
            m_token = Token::Greater;
        }
        return;
    default:
        m_token = Token::Bad;
        return;
    }
}

bool FilterParser::keyword(std::string_view word) const
{
    return m_token == Token::Name && lowered(m_tokenText) == word;
}

NodePtr FilterParser::parseOr()
{
    NodePtr left = parseAnd();
    while (left && keyword("or")) {
        advance();
        NodePtr right = parseAnd();
        if (!right)
            return nullptr;
        left = std::make_unique<Logical>(Logical::Op::Or, std::move(left), std::move(right));
    }
    return left;
}

NodePtr FilterParser::parseAnd()
{
    NodePtr left = parseNot();
    while (left && keyword("and")) {
        advance();
        NodePtr right = parseNot();
        if (!right)
            return nullptr;
        left = std::make_unique<Logical>(Logical::Op::And, std::move(left), std::move(right));
    }
    return left;
}

NodePtr FilterParser::parseNot()
{
    if (!keyword("not"))
        return parseComparison();
    if (++m_depth > MaxDepth) {
        fail(Error::BadExpression, "expression nested too deeply");
        return nullptr;
    }
    advance();
    NodePtr operand = parseNot();
    --m_depth;
    if (!operand)
        return nullptr;
    return std::make_unique<Negation>(std::move(operand));
}

NodePtr FilterParser::parseComparison()
{
    NodePtr left = parsePrimary();
    if (!left)
        return nullptr;
    CompareOp op;
    switch (m_token) {
    case Token::Equal:
        op = CompareOp::Equal;
        break;
    case Token::NotEqual:
        op = CompareOp::NotEqual;
        break;
    case Token::Less:
        op = CompareOp::Less;
        break;
    case Token::Greater:
        op = CompareOp::Greater;
        break;
    case Token::LessEqual:
        op = CompareOp::LessEqual;
        break;
    case Token::GreaterEqual:
        op = CompareOp::GreaterEqual;
        break;
    default:
        return left;
    }
    advance();
    NodePtr right = parsePrimary();
    if (!right)
        return nullptr;
    return std::make_unique<Comparison>(op, std::move(left), std::move(right));
}

NodePtr FilterParser::parsePrimary()
{
    switch (m_token) {
    case Token::Number: {
        auto node = std::make_unique<NumberLiteral>(m_tokenNumber);
        advance();
        return node;
    }
    case Token::Minus: {
        advance();
        if (m_token != Token::Number) {
            fail(Error::BadExpression, "a number must follow '-'");
            return nullptr;
        }
        auto node = std::make_unique<NumberLiteral>(-m_tokenNumber);
        advance();
        return node;
    }
    case Token::String: {
        auto node = std::make_unique<StringLiteral>(m_tokenText);
        advance();
        return node;
    }
    case Token::LeftParen: {
        if (++m_depth > MaxDepth) {
            fail(Error::BadExpression, "expression nested too deeply");
            return nullptr;
        }
        advance();
        NodePtr inner = parseOr();
        --m_depth;
        if (!inner)
            return nullptr;
        if (m_token != Token::RightParen) {
            fail(Error::BadExpression, "')' expected");
            return nullptr;
        }
        advance();
        return inner;
    }
    case Token::Name: {
        const std::string name = m_tokenText;
        const std::string lower = lowered(name);
        if (lower == "and" || lower == "or" || lower == "not") {
            fail(Error::BadExpression, "a value expected before '" + name + "'");
            return nullptr;
        }
        advance();
        if (m_token == Token::LeftParen)
            return parseCall(lower);
        return resolveName(name);
    }
    case Token::End:
        fail(Error::BadExpression, "the expression ends too early");
        return nullptr;
    default:
        fail(Error::BadExpression, "a value expected");
        return nullptr;
    }
}

NodePtr FilterParser::parseCall(const std::string& name)
{
    const bool known = name == "instring" || name == "upper" || name == "clip" || name == "format";
    if (!known) {
        fail(Error::UnknownVariable, "unknown function '" + name + "'");
        return nullptr;
    }
    if (++m_depth > MaxDepth) {
        fail(Error::BadExpression, "expression nested too deeply");
        return nullptr;
    }
    advance(); // past '('

    std::vector<NodePtr> arguments;
    std::string picture;
    bool hasPicture = false;
    if (m_token != Token::RightParen) {
        while (true) {
            if (name == "format" && arguments.size() == 1) {
                // The picture: a picture token or a text literal.
                if (m_token != Token::Picture && m_token != Token::String) {
                    fail(Error::BadExpression, "a picture expected");
                    return nullptr;
                }
                picture = m_tokenText;
                hasPicture = true;
                advance();
            } else {
                NodePtr argument = parseOr();
                if (!argument)
                    return nullptr;
                arguments.push_back(std::move(argument));
            }
            if (m_token == Token::Comma) {
                advance();
                continue;
            }
            break;
        }
    }
    if (m_token != Token::RightParen) {
        fail(Error::BadExpression, "')' expected after the arguments of " + name);
        return nullptr;
    }
    advance();
    --m_depth;

    const std::size_t count = arguments.size() + (hasPicture ? 1 : 0);
    if (name == "upper" || name == "clip") {
        if (count != 1) {
            fail(Error::BadExpression, name + " takes one argument");
            return nullptr;
        }
        if (name == "upper")
            return std::make_unique<Upper>(std::move(arguments[0]));
        return std::make_unique<Clip>(std::move(arguments[0]));
    }
    if (name == "format") {
        if (count != 2 || !hasPicture) {
            fail(Error::BadExpression, "format takes a value and a picture");
            return nullptr;
        }
        if (!Format::acceptable(picture)) {
            fail(Error::BadExpression, "unknown picture '" + picture + "'");
            return nullptr;
        }
        return std::make_unique<Format>(std::move(arguments[0]), picture);
    }
    // instring(sought, searched, step[, start])
    if (count != 3 && count != 4) {
        fail(Error::BadExpression, "instring takes three or four arguments");
        return nullptr;
    }
    NodePtr start = count == 4 ? std::move(arguments[3]) : nullptr;
    return std::make_unique<InString>(std::move(arguments[0]), std::move(arguments[1]),
                                      std::move(arguments[2]), std::move(start));
}

NodePtr FilterParser::resolveName(const std::string& name)
{
    if (const Bindings* bindings = m_scope.bindings()) {
        if (const Bindings::Variable* variable = bindings->find(name)) {
            switch (variable->kind) {
            case Bindings::Kind::String:
            case Bindings::Kind::CString:
                return std::make_unique<StringVariable>(
                    static_cast<const char*>(variable->address), variable->size,
                    variable->kind == Bindings::Kind::CString);
            default:
                return std::make_unique<NumberVariable>(variable->kind, variable->address);
            }
        }
    }
    const std::size_t colon = name.find(':');
    if (colon != std::string::npos) {
        const int source = m_scope.sourceOfPrefix(std::string_view(name).substr(0, colon));
        if (source >= 0) {
            const FileLayout& layout = *m_scope.sources()[static_cast<std::size_t>(source)].layout;
            const std::string wanted = text::upper(name);
            for (const FieldDef& field : layout.fields) {
                if (text::upper(field.name) != wanted)
                    continue;
                const std::byte* const* base = m_bases + source;
                if (field.type == FieldType::String)
                    return std::make_unique<StringField>(base, field);
                return std::make_unique<NumberField>(base, field);
            }
        }
    }
    fail(Error::UnknownVariable, "unknown name '" + name + "'");
    return nullptr;
}

} // namespace platform::storage
