#include "platform/storage/FilterExpression.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterParser.h"
#include "platform/storage/RecordFile.h"

namespace platform::storage {

FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

int FilterExpression::compile(std::string_view text, const FilterScope& scope)
{
    m_text.assign(text);
    m_root.reset();
    m_error = 0;
    m_errorMessage.clear();
    m_sources = scope.sources();
    m_bases = std::make_unique<const std::byte*[]>(m_sources.size() + 1);

    m_empty = true;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            m_empty = false;
            break;
        }
    }
    if (m_empty) {
        clearError();
        return Error::None;
    }

    FilterParser parser(scope, m_bases.get());
    m_error = parser.parse(text, m_root);
    if (m_error != 0) {
        m_errorMessage = parser.errorMessage() + " at offset " + std::to_string(parser.errorOffset());
        setError(m_error);
        return m_error;
    }
    clearError();
    return Error::None;
}

const std::byte* const* FilterExpression::baseOf(const RecordFile& file) const
{
    for (std::size_t i = 0; i < m_sources.size(); ++i)
        if (m_sources[i].file == &file)
            return m_bases.get() + i;
    return nullptr;
}

void FilterExpression::loadBases()
{
    for (std::size_t i = 0; i < m_sources.size(); ++i) {
        const FilterScope::Source& source = m_sources[i];
        m_bases[i] = source.file ? source.file->buffer() : source.record;
    }
}

bool FilterExpression::matches()
{
    if (m_error != 0)
        return false;
    if (!m_root)
        return true;
    loadBases();
    return m_root->truth();
}

std::string_view FilterExpression::value()
{
    if (m_error != 0 || !m_root)
        return {};
    loadBases();
    return m_root->text();
}

} // namespace platform::storage
