#pragma once

#include "platform/automation/AutomationObject.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::automation::excel {

// An object that keeps the values written to its named properties and answers them back, with
// child objects made on first use and methods that are handed to a callback. Page setup and
// the parts of a chart are kept this way: recorded, not drawn.
class SettingsObject : public AutomationObject
{
public:
    using ChildMaker = std::function<std::shared_ptr<SettingsObject>(const std::string& child)>;
    using MethodHandler = std::function<AutomationValue(const std::string& method,
                                                        const Arguments& arguments)>;

    // Names in lower case. A child is addressed by name and arguments ("axes(1,1)").
    SettingsObject(std::string typeName, std::vector<std::string> properties,
                   std::vector<std::string> children, std::vector<std::string> methods);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return m_typeName; }

    void setChildMaker(ChildMaker maker) { m_childMaker = std::move(maker); }
    void setMethodHandler(MethodHandler handler) { m_methodHandler = std::move(handler); }
    // The value written last ("" never written); name in lower case.
    AutomationValue value(const std::string& name) const;
    void setValue(const std::string& name, const AutomationValue& value);
    // The child under the key (name and arguments joined: "axes(1,1)"), nullptr when not made.
    std::shared_ptr<SettingsObject> child(const std::string& key) const;

private:
    static std::string lower(std::string_view text);
    static bool listed(const std::vector<std::string>& names, const std::string& name);

    std::string m_typeName;
    std::vector<std::string> m_properties;
    std::vector<std::string> m_children;
    std::vector<std::string> m_methods;
    std::map<std::string, AutomationValue> m_values;
    std::map<std::string, std::shared_ptr<SettingsObject>> m_made;
    ChildMaker m_childMaker;
    MethodHandler m_methodHandler;
};

} // namespace platform::automation::excel
