#include "platform/automation/AutomationObject.h"

#include <algorithm>
#include <cctype>
#include "platform/text/AsciiChars.h"

namespace platform::automation {

void AutomationObject::set(std::string_view member, const Arguments&, const AutomationValue&)
{
    fail(typeName() + "." + std::string(member) + " cannot be written");
}

std::optional<double> AutomationObject::constant(std::string_view) const
{
    return std::nullopt;
}

bool AutomationObject::is(std::string_view member, std::string_view name)
{
    return member.size() == name.size()
        && std::equal(member.begin(), member.end(), name.begin(), [](char a, char b) {
               return platform::text::asciiLower(a)
                   == platform::text::asciiLower(b);
           });
}

const AutomationValue& AutomationObject::argument(const Arguments& arguments, size_t index)
{
    static const AutomationValue left = AutomationValue::missing();
    return index < arguments.size() ? arguments[index] : left;
}

bool AutomationObject::given(const Arguments& arguments, size_t index)
{
    return index < arguments.size() && !arguments[index].isMissing();
}

void AutomationObject::unknown(std::string_view member) const
{
    fail(typeName() + " has no member " + std::string(member));
}

void AutomationObject::fail(const std::string& message)
{
    throw AutomationError(message);
}

void AutomationObject::noArguments(std::string_view member, const Arguments& arguments)
{
    if (!arguments.empty())
        fail(std::string(member) + " takes no arguments");
}

} // namespace platform::automation
