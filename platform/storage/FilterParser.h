#pragma once

#include "platform/storage/FilterNodes.h"
#include "platform/storage/FilterScope.h"

#include <cstddef>
#include <string>
#include <string_view>

// Turns a filter expression text into its compiled node tree (see docs/filter-expressions.md).
namespace platform::storage {

class FilterParser
{
public:
    // bases: one slot per source of the scope, holding the record address at evaluation time.
    FilterParser(const FilterScope& scope, const std::byte* const* bases);

    // 0 and the tree, or 800 (bad expression) / 801 (unknown name) and no tree.
    int parse(std::string_view text, filter::NodePtr& result);

    // Where the first error was found (0-based offset in the text) and what it was.
    std::size_t errorOffset() const { return m_errorOffset; }
    const std::string& errorMessage() const { return m_errorMessage; }

private:
    enum class Token : uint8_t {
        End, Number, String, Name, Picture, LeftParen, RightParen, Comma, Minus,
        Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Bad
    };

    void advance();
    bool keyword(std::string_view word) const;
    bool fail(int code, std::string message);

    filter::NodePtr parseOr();
    filter::NodePtr parseAnd();
    filter::NodePtr parseNot();
    filter::NodePtr parseComparison();
    filter::NodePtr parsePrimary();
    filter::NodePtr parseCall(const std::string& name);
    filter::NodePtr resolveName(const std::string& name);

    const FilterScope& m_scope;
    const std::byte* const* m_bases;

    std::string_view m_text;
    std::size_t m_at = 0;
    Token m_token = Token::End;
    std::size_t m_tokenStart = 0;
    std::string m_tokenText; // a name, a picture, or a string literal's value
    double m_tokenNumber = 0;
    int m_depth = 0;

    int m_error = 0;
    std::size_t m_errorOffset = 0;
    std::string m_errorMessage;
};

} // namespace platform::storage
