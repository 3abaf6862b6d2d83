#pragma once

#include <memory>
#include <string>
#include <variant>

namespace platform::automation {

class AutomationObject;

// A value passed to or answered by a server: nothing, an argument left out, a number, a
// Windows-1251 text, a flag or an object.
class AutomationValue
{
public:
    enum class Type { Empty, Missing, Number, Text, Boolean, Object };

    AutomationValue() = default;
    static AutomationValue missing();
    static AutomationValue number(double value);
    static AutomationValue text(std::string value);
    static AutomationValue boolean(bool value);
    static AutomationValue object(std::shared_ptr<AutomationObject> value);

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isMissing() const { return m_type == Type::Missing || m_type == Type::Empty; }
    bool isObject() const { return m_type == Type::Object; }

    // The leading number of a text (blanks skipped, "." or "," as the point), a flag as 1 or 0;
    // 0 for anything else.
    double toNumber() const;
    // A number rounded to the nearest whole; texts as toNumber.
    long long toInteger() const;
    // Non-zero numbers, "True" (any case) and texts that read as a non-zero number.
    bool toBoolean() const;
    // The answer text: numbers with up to 15 significant digits and "." as the point, flags as
    // "1" or "0", texts unchanged; empty for nothing and for objects.
    std::string toText() const;
    const std::string& textValue() const { return m_text; }
    const std::shared_ptr<AutomationObject>& objectValue() const { return m_object; }
    // True when a text reads wholly as a number (blanks around it allowed).
    bool isNumeric() const;

private:
    Type m_type = Type::Empty;
    double m_number = 0;
    std::string m_text;
    std::shared_ptr<AutomationObject> m_object;
};

} // namespace platform::automation
