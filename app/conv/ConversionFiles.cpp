#include "app/conv/ConversionFiles.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"

namespace app {

namespace storage = platform::storage;
using platform::text::w;

DiskNameScope::DiskNameScope(storage::RecordFileManager& manager, std::string name)
    : m_manager(manager), m_previousName(manager.file()->diskName()),
      m_previousValue(manager.fileNameValue)
{
    const std::size_t dot = name.rfind('.');
    m_manager.fileNameValue = name.substr(0, dot);
    m_manager.file()->setDiskName(std::move(name));
}

DiskNameScope::~DiskNameScope()
{
    m_manager.fileNameValue = m_previousValue;
    m_manager.file()->setDiskName(m_previousName);
}

namespace {

// Read only and denying nothing: the check neither locks nor changes the file.
constexpr uint8_t kReadOnly = 0x40;

bool opensAs(storage::RecordFileManager& manager, const std::string& name)
{
    const DiskNameScope scope(manager, name);
    storage::RecordFile& file = *manager.file();
    if (file.open(kReadOnly) != 0)
        return false;
    file.close();
    return true;
}

} // namespace

ConversionOutcome CheckConversionSource(storage::RecordFile& source,
                                        std::initializer_list<storage::RecordFileManager*> newer,
                                        std::string_view what)
{
    using Result = ConversionOutcome::Result;
    const std::string name = source.diskName();
    if (!storage::fileExists(name)) {
        storage::clearError();
        return {Result::Missing, w("Файл ") + name + w(" не найден: ") + std::string(what)
                                     + w(" не конвертировались.")};
    }
    const int code = source.open(kReadOnly);
    if (code == 0) {
        source.close();
        return {Result::Converted, {}};
    }
    const std::string failure = storage::errorTextOf(code);
    if (code == storage::Error::InvalidLayout)
        for (storage::RecordFileManager* manager : newer)
            if (opensAs(*manager, name)) {
                storage::clearError();
                return {Result::AlreadyCurrent,
                        w("Файл ") + name + w(" уже в формате версии 3.0 и не конвертировался.")};
            }
    storage::setError(code, name);
    return {Result::Failed, w("Не удалось открыть файл ") + name + ": " + failure + w(". Файл ")
                                + name + w(" оставлен без изменений.")};
}

std::string FileFailure(std::string_view action, std::string_view name, std::string_view kept)
{
    return w("Не удалось ") + std::string(action) + w(" файл ") + std::string(name) + ": "
           + storage::errorText() + w(". Файл ") + std::string(kept) + w(" оставлен без изменений.");
}

} // namespace app
