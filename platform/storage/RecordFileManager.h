#pragma once

#include "platform/storage/RecordFile.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::storage {

class ErrorReporter;

// The framework's file manager over one record file: how the file is named and opened, its
// keys with their descriptions, and the open count per logical thread (opens nest per thread).
class RecordFileManager
{
public:
    virtual ~RecordFileManager(); // stops listening for ended threads

    virtual void init(RecordFile& file, ErrorReporter& reporter);
    virtual void kill();

    // Settings.
    std::string fileNameValue;   // the disk name without extension; empty = the file's default
    uint8_t openMode = 0x42;     // the framework's default denies nothing
    bool create = false;         // a missing file is created, then opened
    int lockRecover = 0;         // seconds sent as "Recover=" before retrying a refused open

    void addKey(int key, std::string description, bool autoNumber = false);
    const std::vector<std::pair<int, std::string>>& keys() const { return m_keys; }

    // The thread's first open opens the file; a refused open (5) is retried once after
    // "Recover=", then reported and tried once more for reading only. Returns the code.
    int open();
    // The thread's last close closes the file.
    int close();
    int openCount() const; // for the calling thread

    RecordFile* file() const { return m_file; }

    // For the whole process: every file is opened for reading only, without the refused
    // opens and their reports (another copy of the program works with the files). notice runs
    // once, before the first open that follows, to tell the user why.
    static void setReadOnly(bool on, std::function<void()> notice = {});
    static bool readOnly();

private:
    void report(int code, std::string_view action);

    RecordFile* m_file = nullptr;
    ErrorReporter* m_reporter = nullptr;
    int m_threadEndListener = 0;
    std::vector<std::pair<int, std::string>> m_keys;
    std::map<int, int> m_openCounts; // thread -> count
};

// The framework's relation manager: opens and closes its primary file through the file manager
// and switches quick scan for sequential reads of the whole file.
class FileRelation
{
public:
    virtual ~FileRelation() = default;

    virtual void init(RecordFileManager& manager);
    virtual void kill();

    int open();
    int close();
    void setQuickScan(bool on);

    RecordFileManager* manager() const { return m_manager; }

private:
    RecordFileManager* m_manager = nullptr;
};

} // namespace platform::storage
