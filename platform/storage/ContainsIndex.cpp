#include "platform/storage/ContainsIndex.h"

#include "platform/storage/BackgroundScan.h"
#include "platform/storage/ContainsCopyBuild.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterExpression.h"
#include "platform/storage/FilterScope.h"
#include "platform/storage/FilterSql.h"

#include <algorithm>
#include <limits>

namespace platform::storage {

ContainsIndex::ContainsIndex(RecordFile& file, int key, std::string searched,
                             const Bindings* bindings)
    : m_file(file), m_key(key), m_searched(std::move(searched)), m_bindings(bindings)
{
}

ContainsIndex::~ContainsIndex() = default;

void ContainsIndex::clear()
{
    m_built = false;
    m_copy = {};
}

void ContainsIndex::release()
{
    m_build.reset();
    clear();
}

bool ContainsIndex::translated()
{
    if (!m_translated) {
        m_translated = true;
        FilterScope scope(m_bindings);
        scope.addFile(m_file);
        const FilterExpression expression(m_searched, scope);
        m_sql = FilterSql::translateText(expression, m_file);
        clearError();
    }
    return m_sql != nullptr;
}

void ContainsIndex::adopt(ContainsCopy copy, const ContentVersion& version)
{
    m_copy = std::move(copy);
    m_version = version;
    m_built = true;
    ++m_builds;
}

bool ContainsIndex::refresh()
{
    // Records written inside an open run may still be rolled back: no copy of them is kept.
    if (!translated() || !m_file.isOpen() || m_file.inStream())
        return false;
    const ContentVersion version = m_file.contentVersion();
    if (m_built && version == m_version)
        return true;
    if (m_build) {
        std::optional<ContainsCopy> made = m_build->take();
        m_build.reset();
        // Nothing has been written since the build began, by this process (a write would
        // have stopped it) or by another (the version would have moved): it is this file.
        if (made && m_buildVersion == version) {
            adopt(std::move(*made), version);
            return true;
        }
    }
    clear();
    if (!build(*m_sql)) {
        clear();
        return false;
    }
    adopt(std::move(m_copy), version);
    return true;
}

void ContainsIndex::prepare()
{
    // Asked for by a list as it reads itself: what its caller tests afterwards stays as it was.
    const int code = errorCode();
    const std::string file = errorFile();
    const bool ready = translated();
    setError(code, file);
    // Variables of the expression could change under the other thread: such a copy is made
    // where it is used.
    if (!ready || m_sql->usesVariables() || !m_file.isOpen() || m_file.inStream())
        return;
    const ContentVersion version = m_file.contentVersion();
    if (m_built && version == m_version)
        return;
    if (m_build && m_buildVersion == version)
        return;
    // A stale copy or build is of no more use: its memory goes before the new one is made.
    m_build.reset();
    clear();
    std::unique_ptr<BackgroundScan> scan = m_file.backgroundScan(m_key, m_sql);
    if (!scan)
        return;
    m_buildVersion = version;
    m_build = std::make_unique<ContainsCopyBuild>(std::move(scan));
}

bool ContainsIndex::build(const FilterSql& sql)
{
    ContainsCopyMaker maker(m_file.largestPosition());
    bool fits = true;
    const int code = m_file.scanKeyOrder(m_key, sql, [&](int64_t position, std::string_view text) {
        fits = maker.add(position, text);
        return fits;
    });
    m_copy = maker.finish();
    return code == Error::None && fits;
}

std::size_t ContainsIndex::entryOf(int64_t position) const
{
    if (position < 0 || position > std::numeric_limits<uint32_t>::max())
        return NoEntry;
    const std::size_t entry = m_copy.entryOf(static_cast<uint32_t>(position));
    return entry < m_copy.entries() ? entry : NoEntry;
}

} // namespace platform::storage
