#include "platform/storage/RecordFileManager.h"

#include "platform/storage/ErrorState.h"

namespace platform::storage {

void FileRelation::init(RecordFileManager& manager) { m_manager = &manager; }

void FileRelation::kill() { m_manager = nullptr; }

int FileRelation::open()
{
    if (!m_manager) {
        setError(Error::FileNotOpen);
        return Error::FileNotOpen;
    }
    return m_manager->open();
}

int FileRelation::close()
{
    if (!m_manager) {
        setError(Error::FileNotOpen);
        return Error::FileNotOpen;
    }
    return m_manager->close();
}

void FileRelation::setQuickScan(bool on)
{
    if (m_manager && m_manager->file())
        m_manager->file()->send(on ? "QUICKSCAN=on" : "QUICKSCAN=off");
}

} // namespace platform::storage
