#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// One walk of a record file's key order, with the value of an expression per record, run on a
// thread other than the one that has the file open: it reads through a read-only connection of
// its own, so the thread that made it goes on reading and writing meanwhile. It gives the file
// as it was when the scan was made: a write of this process begun since then stops it, and a
// scan that was stopped gives nothing to be used. It touches no record buffer and no error
// state of a logical thread.
namespace platform::storage {

class FilterSql;

namespace sqlite {
class ReaderGate;
}

class BackgroundScan
{
public:
    // What the thread that has the file open knows of it (made by RecordFile::backgroundScan).
    struct Source
    {
        std::string path;
        std::string password;
        uint64_t device = 0; // the file the connection has open, so that a file put in its
        uint64_t inode = 0;  // place since is not read instead
        std::string sql;     // the walk: position, then the expression's text
        std::shared_ptr<const FilterSql> expression;
        std::shared_ptr<sqlite::ReaderGate> gate;
        uint64_t writesBegun = 0;
    };

    explicit BackgroundScan(Source source);
    ~BackgroundScan();
    BackgroundScan(const BackgroundScan&) = delete;
    BackgroundScan& operator=(const BackgroundScan&) = delete;

    enum class Result : uint8_t { Complete, Stopped, Failed };

    // On one other thread, once. expected gets an upper bound of the number of records first
    // (the largest position); each gets every record as RecordFile::scanKeyOrder gives it and
    // returns false to stop (the result is then Stopped).
    Result run(const std::function<void(int64_t)>& expected,
               const std::function<bool(int64_t, std::string_view)>& each);

    // From any thread: the run ends at its next record, Stopped.
    void stop() { m_stop.store(true, std::memory_order_release); }

private:
    Source m_source;
    std::atomic<bool> m_stop{false};
};

} // namespace platform::storage
