#pragma once

#include "platform/automation/AutomationError.h"
#include "platform/automation/AutomationValue.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::automation {

using Arguments = std::vector<AutomationValue>;

// An object of a server's object model. A member is read (a property, or a method that runs and
// answers) or written; member names compare without regard to case. A member the object does
// not have, or arguments that do not fit, throw AutomationError.
class AutomationObject : public std::enable_shared_from_this<AutomationObject>
{
public:
    virtual ~AutomationObject() = default;

    virtual AutomationValue get(std::string_view member, const Arguments& arguments) = 0;
    virtual void set(std::string_view member, const Arguments& arguments,
                     const AutomationValue& value);
    // The name of the kind of object, for messages.
    virtual std::string typeName() const = 0;
    // A named constant of the server ("xlEdgeRight") used as a bare argument; asked of the
    // application object only.
    virtual std::optional<double> constant(std::string_view name) const;

protected:
    static bool is(std::string_view member, std::string_view name);
    // The argument at index, or a missing value when it was left out.
    static const AutomationValue& argument(const Arguments& arguments, size_t index);
    static bool given(const Arguments& arguments, size_t index);
    [[noreturn]] void unknown(std::string_view member) const;
    [[noreturn]] static void fail(const std::string& message);
    static void noArguments(std::string_view member, const Arguments& arguments);
};

} // namespace platform::automation
