#include "platform/automation/AutomationPath.h"

#include <cctype>
#include <cstdlib>
#include "platform/text/AsciiChars.h"
#include "platform/text/RealText.h"

namespace platform::automation {
namespace {

bool isNameStart(unsigned char c)
{
    return platform::text::isAsciiAlpha(c) || c == '_';
}

bool isNameChar(unsigned char c)
{
    return platform::text::isAsciiAlnum(c) || c == '_';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

class Parser
{
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::optional<AutomationPath> run(std::optional<int>& reference,
                                      std::vector<PathMember>& members, std::string& error)
    {
        skipBlanks();
        if (peek() == '`') {
            ++m_at;
            const size_t start = m_at;
            while (m_at < m_text.size() && platform::text::isAsciiDigit(m_text[m_at]))
                ++m_at;
            if (m_at == start || m_at - start > 9)
                return failed(error, "a reference needs a number after `");
            reference = std::atoi(std::string(m_text.substr(start, m_at - start)).c_str());
            skipBlanks();
            if (atEnd())
                return AutomationPath();
            if (peek() != '.')
                return failed(error, "'.' expected after the reference");
            ++m_at;
        }
        for (;;) {
            skipBlanks();
            PathMember member;
            if (!readMember(member, error))
                return std::nullopt;
            members.push_back(std::move(member));
            skipBlanks();
            if (atEnd())
                return AutomationPath();
            if (peek() != '.')
                return failed(error, "'.' expected");
            ++m_at;
        }
    }

private:
    std::optional<AutomationPath> failed(std::string& error, const std::string& why)
    {
        error = why + " at position " + std::to_string(m_at + 1);
        return std::nullopt;
    }

    bool readMember(PathMember& member, std::string& error)
    {
        if (atEnd() || !isNameStart(static_cast<unsigned char>(peek()))) {
            failed(error, "a member name expected");
            return false;
        }
        const size_t start = m_at;
        while (!atEnd() && isNameChar(static_cast<unsigned char>(peek())))
            ++m_at;
        member.name = std::string(m_text.substr(start, m_at - start));
        skipBlanks();
        if (peek() != '(')
            return true;
        ++m_at;
        member.hasParentheses = true;
        skipBlanks();
        if (peek() == ')') {
            ++m_at;
            return true;
        }
        for (;;) {
            PathArgument argument;
            if (!readArgument(argument, error))
                return false;
            member.arguments.push_back(std::move(argument));
            if (atEnd()) {
                failed(error, "')' missing");
                return false;
            }
            const char c = m_text[m_at++];
            if (c == ')')
                return true;
            // c is ',' here: readArgument stops only at ',' or ')'.
        }
    }

    bool readArgument(PathArgument& argument, std::string& error)
    {
        skipBlanks();
        if (peek() == '"') {
            ++m_at;
            for (;;) {
                if (atEnd()) {
                    failed(error, "closing '\"' missing");
                    return false;
                }
                const char c = m_text[m_at++];
                if (c == '"') {
                    if (peek() == '"') {
                        argument.text += '"';
                        ++m_at;
                        continue;
                    }
                    break;
                }
                argument.text += c;
            }
            argument.kind = PathArgument::Kind::Text;
            skipBlanks();
            if (atEnd() || (peek() != ',' && peek() != ')')) {
                failed(error, "',' or ')' expected after a quoted text");
                return false;
            }
            return true;
        }
        // A bare argument runs to the next ',' or ')' outside inner parentheses.
        const size_t start = m_at;
        int depth = 0;
        while (!atEnd()) {
            const char c = peek();
            if (c == '(')
                ++depth;
            else if (c == ')') {
                if (depth == 0)
                    break;
                --depth;
            } else if (c == ',' && depth == 0)
                break;
            ++m_at;
        }
        if (atEnd()) {
            failed(error, "')' missing");
            return false;
        }
        std::string_view bare = m_text.substr(start, m_at - start);
        while (!bare.empty() && isBlank(bare.back()))
            bare.remove_suffix(1);
        argument.text = std::string(bare);
        argument.kind = classify(argument.text, argument.number);
        return true;
    }

    static PathArgument::Kind classify(const std::string& text, double& number)
    {
        if (text.empty())
            return PathArgument::Kind::Empty;
        const unsigned char first = static_cast<unsigned char>(text[0]);
        if (platform::text::isAsciiDigit(first) || first == '-' || first == '+' || first == '.') {
            const text::RealReading reading = text::readReal(text);
            if (reading.used == text.size()) {
                number = reading.value;
                return PathArgument::Kind::Number;
            }
        }
        if (isNameStart(first)) {
            bool name = true;
            for (const char c : text)
                name = name && isNameChar(static_cast<unsigned char>(c));
            if (name)
                return PathArgument::Kind::Name;
        }
        return PathArgument::Kind::Bare;
    }

    void skipBlanks()
    {
        while (!atEnd() && isBlank(m_text[m_at]))
            ++m_at;
    }
    bool atEnd() const { return m_at >= m_text.size(); }
    char peek() const { return atEnd() ? '\0' : m_text[m_at]; }

    std::string_view m_text;
    size_t m_at = 0;
};

} // namespace

std::string AutomationPath::quoted(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + 2);
    result += '"';
    for (const char c : text) {
        if (c == '"')
            result += '"'; // a doubled quote stands for one
        result += c;
    }
    result += '"';
    return result;
}

std::optional<AutomationPath> AutomationPath::parse(std::string_view text, std::string* error)
{
    AutomationPath path;
    std::string why;
    Parser parser(text);
    if (!parser.run(path.m_reference, path.m_members, why)) {
        if (error)
            *error = why;
        return std::nullopt;
    }
    return path;
}

} // namespace platform::automation
