#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A file of raw bytes read and written as records: one-byte records (a text written and read
// byte by byte) or records of up to a maximum size (a download stored chunk by chunk). The file
// holds the bytes only, with no record marks: reading it back gives records of the maximum
// size, the last one shorter. Every operation returns its code and leaves it in the thread's
// error state.
namespace platform::storage {

class ByteFile
{
public:
    // maxRecordSize 1: a file of single bytes.
    explicit ByteFile(std::size_t maxRecordSize = 1);
    ~ByteFile();
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;

    void setDiskName(std::string name);
    const std::string& diskName() const { return m_diskName; }
    std::size_t maxRecordSize() const { return m_record.size(); }

    // The record buffer: add writes from it, next fills it.
    std::byte* buffer() { return m_record.data(); }
    const std::byte* buffer() const { return m_record.data(); }
    // The length of the record last read.
    std::size_t recordLength() const { return m_recordLength; }
    std::string_view recordView() const;
    // The byte of a one-byte record (the first byte of the buffer).
    uint8_t byte() const { return static_cast<uint8_t>(m_record[0]); }
    void setByte(uint8_t value) { m_record[0] = std::byte{value}; }
    void clearBuffer();

    // A new empty file, or an existing one emptied: refused (5) while another opener denies
    // writing, so a file someone is reading is never cut under them.
    int create();
    // Share-mode byte as for record files. A folder, a pipe or a socket gives 5 (a pipe
    // without a writer does not block).
    int open(uint8_t mode = 0x22);
    int close();
    bool isOpen() const { return m_fd >= 0; }

    // Appends go through a write buffer: a failed write (39 when the disk is full) is reported
    // by the add that flushes, by every later add and by close. A record longer than the
    // maximum gives 33; a file opened for reading only gives 5.
    int add();                   // the buffer's first byte
    int add(std::size_t length); // the buffer's first length bytes as one record
    int add(std::string_view bytes); // copied into the buffer, then added
    int setToStart();
    int next();                  // 33 past the end
    int64_t records();           // bytes / maximum record size, rounded up
    // The next bytes after those read (records aside) into into, up to size: got is how many,
    // 0 at the end. Unlike the operations above it leaves the error state alone, so a helper
    // thread may read the file while the logical thread goes on; nothing else may use the file
    // meanwhile. Returns the code.
    int readBytes(std::byte* into, std::size_t size, std::size_t& got);

    // The size the file had when it was opened, and whether it still has that size and its
    // modification time of then (another process may write a file opened for reading).
    int64_t sizeAtOpen() const { return m_sizeAtOpen; }
    bool unchangedSinceOpen() const;

    // Test hook: reads of any file at or beyond byteOffset fail with the errno given, until
    // it is cleared with a negative offset.
    static void failReadsFrom(int64_t byteOffset, int error);

private:
    int fail(int code);
    int flushWrites();
    int fillReadBuffer();
    int64_t sizeOnDisk();

    std::string m_diskName;
    std::vector<std::byte> m_record;
    std::size_t m_recordLength = 0;
    int m_fd = -1;
    bool m_writable = false;
    int m_writeError = 0;        // a failed write stays reported until the file is closed

    std::vector<std::byte> m_writeBuffer;
    std::size_t m_writeUsed = 0;
    int64_t m_endOffset = 0;     // the file's size as written so far (buffered bytes excluded)

    std::vector<std::byte> m_readBuffer;
    std::size_t m_readUsed = 0;
    std::size_t m_readAt = 0;
    int64_t m_readOffset = 0;    // the file offset of m_readBuffer[m_readUsed]

    int64_t m_sizeAtOpen = 0;
    int64_t m_modifiedAtOpen = 0; // nanoseconds
};

} // namespace platform::storage
