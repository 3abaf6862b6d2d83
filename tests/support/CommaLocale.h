#pragma once

#include <clocale>
#include <string>

namespace testsupport {

// Puts the C library's numeric rules under a locale whose decimal point is a comma for the
// life of the object, as Qt does with a Russian environment, and puts the previous ones back.
// available() is false where no such locale is installed (scripts/setup generates ru_RU.UTF-8).
class CommaLocale
{
public:
    CommaLocale()
    {
        const char* previous = std::setlocale(LC_NUMERIC, nullptr);
        m_previous = previous ? previous : "C";
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
                m_available = true;
                return;
            }
        }
        std::setlocale(LC_NUMERIC, m_previous.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool available() const { return m_available; }

private:
    std::string m_previous;
    bool m_available = false;
};

} // namespace testsupport
