#pragma once

#include "platform/storage/FilterNodes.h"
#include "platform/storage/FilterScope.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A filter expression text compiled once and evaluated per record. Fields are read from their
// file's record buffer of the calling thread and bound variables from the program's variables,
// both at the moment of evaluation. An empty text lets every record pass; a text that does not
// compile (800 bad expression, 801 unknown name) lets none pass.
namespace platform::storage {

class RecordFile;

class FilterExpression
{
public:
    FilterExpression() = default;
    FilterExpression(std::string_view text, const FilterScope& scope) { compile(text, scope); }
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    // Returns 0, 800 or 801 and leaves it in the thread's error state.
    int compile(std::string_view text, const FilterScope& scope);

    const std::string& text() const { return m_text; }
    bool isEmpty() const { return m_empty; }
    bool isValid() const { return m_error == 0; }
    int error() const { return m_error; }
    // A short English note on a compile error, for the developer's log.
    const std::string& errorMessage() const { return m_errorMessage; }

    bool matches();
    // The expression's value as a text (a number in its default text form); empty when the
    // text is empty or did not compile. Valid until the next evaluation.
    std::string_view value();

    // The compiled tree (null when empty or invalid) and the slot through which it reads the
    // fields of file (null when the file is not in the scope).
    const filter::Node* root() const { return m_error == 0 ? m_root.get() : nullptr; }
    const std::byte* const* baseOf(const RecordFile& file) const;

private:
    void loadBases();

    std::string m_text;
    bool m_empty = true;
    int m_error = 0;
    std::string m_errorMessage;
    std::vector<FilterScope::Source> m_sources;
    std::unique_ptr<const std::byte*[]> m_bases;
    filter::NodePtr m_root;
};

} // namespace platform::storage
