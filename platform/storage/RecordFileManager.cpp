#include "platform/storage/RecordFileManager.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/LogicalThread.h"

namespace platform::storage {

namespace {

// Read access, denying nothing: the last try after a refused open.
constexpr uint8_t ReadOnlyMode = 0x40;

bool g_readOnly = false;

std::function<void()>& readOnlyNotice()
{
    static std::function<void()> notice;
    return notice;
}

} // namespace

void RecordFileManager::setReadOnly(bool on, std::function<void()> notice)
{
    g_readOnly = on;
    readOnlyNotice() = on ? std::move(notice) : nullptr;
}

bool RecordFileManager::readOnly()
{
    return g_readOnly;
}

RecordFileManager::~RecordFileManager()
{
    if (m_threadEndListener)
        removeThreadEndListener(m_threadEndListener);
}

void RecordFileManager::init(RecordFile& file, ErrorReporter& reporter)
{
    if (m_threadEndListener)
        removeThreadEndListener(m_threadEndListener);
    m_file = &file;
    m_reporter = &reporter;
    m_keys.clear();
    m_openCounts.clear();
    m_threadEndListener = addThreadEndListener([this](int thread) { m_openCounts.erase(thread); });
}

void RecordFileManager::kill()
{
    // Opens still held are closed, each in its own thread.
    if (m_file)
        for (const auto& [thread, count] : m_openCounts) {
            ThreadScope scope(thread);
            if (m_file->isOpen())
                m_file->close();
        }
    m_openCounts.clear();
    if (m_threadEndListener)
        removeThreadEndListener(m_threadEndListener);
    m_threadEndListener = 0;
    m_file = nullptr;
    m_reporter = nullptr;
}

void RecordFileManager::addKey(int key, std::string description, bool autoNumber)
{
    (void)autoNumber; // every code and name comes from the data; nothing is numbered here
    m_keys.emplace_back(key, std::move(description));
}

int RecordFileManager::open()
{
    if (!m_file) {
        setError(Error::FileNotOpen);
        return Error::FileNotOpen;
    }
    int& count = m_openCounts[currentThread()];
    if (count > 0) {
        ++count;
        clearError();
        return Error::None;
    }
    if (!fileNameValue.empty())
        m_file->setDiskName(fileNameValue + ".tps");

    // Only a missing file is created: a damaged one is reported, never replaced.
    if (create && !fileExists(m_file->diskName())) {
        if (const int code = m_file->create()) {
            report(code, "Create");
            m_openCounts.erase(currentThread());
            return code;
        }
    }
    if (g_readOnly && readOnlyNotice()) {
        const auto notice = std::move(readOnlyNotice());
        readOnlyNotice() = nullptr;
        notice();
    }
    int code = m_file->open(g_readOnly ? ReadOnlyMode : openMode);
    if (code == Error::AccessDenied && !g_readOnly) {
        if (lockRecover > 0) {
            m_file->send("Recover=" + std::to_string(lockRecover));
            code = m_file->open(openMode);
        }
        if (code == Error::AccessDenied) {
            report(code, "Open");
            code = m_file->open(ReadOnlyMode);
            if (code != Error::None) {
                m_openCounts.erase(currentThread());
                return code;
            }
        }
    }
    if (code != Error::None) {
        report(code, "Open");
        m_openCounts.erase(currentThread());
        return code;
    }
    count = 1;
    return Error::None;
}

int RecordFileManager::close()
{
    const auto it = m_openCounts.find(currentThread());
    if (!m_file || it == m_openCounts.end() || it->second <= 0) {
        setError(Error::FileNotOpen, m_file ? m_file->diskName() : std::string());
        return Error::FileNotOpen;
    }
    if (--it->second > 0) {
        clearError();
        return Error::None;
    }
    m_openCounts.erase(it);
    return m_file->close();
}

int RecordFileManager::openCount() const
{
    const auto it = m_openCounts.find(currentThread());
    return it == m_openCounts.end() ? 0 : it->second;
}

void RecordFileManager::report(int code, std::string_view action)
{
    // The report may show a window that runs code of its own: the error state is kept.
    const std::string file = errorFile();
    if (m_reporter)
        m_reporter->reportFileError(code, file.empty() ? m_file->diskName() : file, action);
    setError(code, file);
}

} // namespace platform::storage
