#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::automation {

// One argument between the parentheses of a member.
struct PathArgument
{
    enum class Kind {
        Empty,  // a place left empty: "PrintOut(,,1)"
        Text,   // between double quotes (a doubled quote inside stands for one)
        Number, // a bare decimal number: "-4108", "1.5"
        Name,   // a bare name: "xlEdgeRight", "True"
        Bare,   // any other bare text, taken as a text: "C:\a\b.msg"
    };
    Kind kind = Kind::Empty;
    std::string text; // Windows-1251, blanks around a bare argument dropped
    double number = 0;
};

struct PathMember
{
    std::string name;
    bool hasParentheses = false;
    std::vector<PathArgument> arguments;
};

// An automation path: an optional reference head ("`12", blanks allowed after it) and members
// joined by ".", each with arguments in parentheses. Blanks between the elements are skipped.
//   path      = blanks [ "`" digits blanks [ "." ] ] member { blanks "." blanks member } blanks
//   member    = name blanks [ "(" [ argument { "," argument } ] ")" ]
//   argument  = blanks [ quoted | bare ] blanks
//   quoted    = '"' { any byte but '"' | '""' } '"'
class AutomationPath
{
public:
    // Nothing, with the reason in error, when the text is not a path.
    static std::optional<AutomationPath> parse(std::string_view text, std::string* error = nullptr);

    // The text as a quoted argument that parse reads back byte for byte, whatever it holds
    // (quotes, parentheses, commas, NUL): every text a driver puts into a path goes through it.
    static std::string quoted(std::string_view text);

    const std::optional<int>& reference() const { return m_reference; }
    const std::vector<PathMember>& members() const { return m_members; }

private:
    std::optional<int> m_reference;
    std::vector<PathMember> m_members;
};

} // namespace platform::automation
