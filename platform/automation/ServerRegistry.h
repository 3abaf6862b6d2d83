#pragma once

#include "platform/automation/AutomationObject.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::automation {

// The automation servers built into the runtime, by programmatic identifier (compared without
// regard to case). "Excel.Application" and "Outlook.Application" are there from the start; other servers register
// themselves, and a test may put a double in a server's place.
class ServerRegistry
{
public:
    using Factory = std::function<std::shared_ptr<AutomationObject>()>;

    // Returns the factory that was registered under the name before (empty when none), so that a
    // test can put it back.
    static Factory registerServer(const std::string& progId, Factory factory);
    // The application object of a new server; nullptr for an unknown identifier.
    static std::shared_ptr<AutomationObject> create(std::string_view progId);
};

} // namespace platform::automation
