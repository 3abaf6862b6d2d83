#pragma once

#include <locale.h>

namespace platform::text {

// For the life of the object the C library formats and reads numbers of this thread by the
// "C" rules ("." as the point), the rest of the locale unchanged. For outside libraries that
// write numbers with printf, such as the workbook writer: under a Russian locale they would
// write "0,7", which no reader takes as a number.
class CNumberRules
{
public:
    CNumberRules()
    {
        const locale_t current = duplocale(uselocale(static_cast<locale_t>(nullptr)));
        m_rules = current ? newlocale(LC_NUMERIC_MASK, "C", current) : static_cast<locale_t>(nullptr);
        if (!m_rules && current)
            freelocale(current);
        m_previous = m_rules ? uselocale(m_rules) : static_cast<locale_t>(nullptr);
    }
    ~CNumberRules()
    {
        if (m_rules) {
            uselocale(m_previous);
            freelocale(m_rules);
        }
    }
    CNumberRules(const CNumberRules&) = delete;
    CNumberRules& operator=(const CNumberRules&) = delete;

private:
    locale_t m_rules = static_cast<locale_t>(nullptr);
    locale_t m_previous = static_cast<locale_t>(nullptr);
};

} // namespace platform::text
