#pragma once

#include <string>
#include <string_view>

namespace platform::storage {
class RecordFile;
}

// A locator moves a list's highlight to the first record at or after what the user typed, in
// the order of the list's key. The typed text goes into the locator's field of a cleared
// buffer; the list then resets to the buffer. Letter case is ignored through the key: the
// lists that have locators sort by keys that ignore case.
namespace platform::ui {

class Locator
{
public:
    explicit Locator(int field) : m_field(field) {}
    virtual ~Locator() = default;
    Locator(const Locator&) = delete;
    Locator& operator=(const Locator&) = delete;

    int field() const { return m_field; }
    // A typed character (Windows-1251); true when the list is to move.
    virtual bool takeCharacter(char typed) = 0;
    // Backspace; true when the list is to move.
    virtual bool takeBackspace() { return false; }
    // The highlight was moved some other way: the typed text no longer applies.
    virtual void reset() { m_text.clear(); }
    const std::string& text() const { return m_text; }
    // Clears the buffer and puts the text into the locator's field.
    void applyTo(storage::RecordFile& file) const;

protected:
    std::string m_text;

private:
    int m_field;
};

} // namespace platform::ui
