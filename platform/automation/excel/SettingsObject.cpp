#include "platform/automation/excel/SettingsObject.h"

#include <algorithm>
#include <cctype>
#include "platform/text/AsciiChars.h"

namespace platform::automation::excel {

SettingsObject::SettingsObject(std::string typeName, std::vector<std::string> properties,
                               std::vector<std::string> children,
                               std::vector<std::string> methods)
    : m_typeName(std::move(typeName)),
      m_properties(std::move(properties)),
      m_children(std::move(children)),
      m_methods(std::move(methods))
{
}

std::string SettingsObject::lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(platform::text::asciiLower(c));
    return result;
}

bool SettingsObject::listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

AutomationValue SettingsObject::get(std::string_view member, const Arguments& arguments)
{
    const std::string name = lower(member);
    if (listed(m_properties, name)) {
        noArguments(member, arguments);
        return value(name);
    }
    if (listed(m_children, name)) {
        std::string key = name;
        if (!arguments.empty()) {
            key += '(';
            for (size_t i = 0; i < arguments.size(); ++i)
                key += (i ? "," : "") + arguments[i].toText();
            key += ')';
        }
        auto& made = m_made[key];
        if (!made && m_childMaker)
            made = m_childMaker(key);
        if (!made) {
            m_made.erase(key);
            unknown(member);
        }
        return AutomationValue::object(made);
    }
    if (listed(m_methods, name)) {
        if (m_methodHandler)
            return m_methodHandler(name, arguments);
        return AutomationValue::boolean(true);
    }
    unknown(member);
}

void SettingsObject::set(std::string_view member, const Arguments& arguments,
                         const AutomationValue& value)
{
    const std::string name = lower(member);
    if (!listed(m_properties, name))
        AutomationObject::set(member, arguments, value);
    noArguments(member, arguments);
    m_values[name] = value;
}

AutomationValue SettingsObject::value(const std::string& name) const
{
    const auto it = m_values.find(name);
    return it == m_values.end() ? AutomationValue() : it->second;
}

void SettingsObject::setValue(const std::string& name, const AutomationValue& value)
{
    m_values[name] = value;
}

std::shared_ptr<SettingsObject> SettingsObject::child(const std::string& key) const
{
    const auto it = m_made.find(key);
    return it == m_made.end() ? nullptr : it->second;
}

} // namespace platform::automation::excel
