#include "platform/storage/sqlite/WriteAheadLog.h"

#include <unistd.h>

#include <array>
#include <vector>

namespace platform::storage::sqlite {

namespace {

constexpr std::size_t HeaderSize = 32;
constexpr std::size_t FrameHeaderSize = 24;
constexpr uint32_t Magic = 0x377f0682;

uint32_t word32(const unsigned char* at)
{
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

// The log's running checksum over size bytes (a multiple of 8), its words read in the byte
// order the log's magic number gives.
void checksum(bool bigEndian, const unsigned char* data, std::size_t size,
              std::array<uint32_t, 2>& sum)
{
    for (std::size_t at = 0; at + 8 <= size; at += 8) {
        const auto word = [&](std::size_t i) {
            const unsigned char* p = data + at + i;
            return bigEndian ? word32(p)
                             : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8
                                   | p[0];
        };
        sum[0] += word(0) + sum[1];
        sum[1] += word(4) + sum[0];
    }
}

bool readAt(int descriptor, unsigned char* into, std::size_t size, off_t at)
{
    return ::pread(descriptor, into, size, at) == static_cast<ssize_t>(size);
}

} // namespace

LoggedPages readWriteAheadLog(int descriptor, std::size_t pageSize)
{
    LoggedPages logged;
    unsigned char header[HeaderSize];
    if (!readAt(descriptor, header, HeaderSize, 0) || (word32(header) & ~1u) != Magic
        || word32(header + 8) != pageSize)
        return logged;
    const bool bigEndian = word32(header) & 1;
    std::array<uint32_t, 2> sum{0, 0};
    checksum(bigEndian, header, 24, sum);
    if (sum[0] != word32(header + 24) || sum[1] != word32(header + 28))
        return logged;

    std::map<uint32_t, off_t> pending;
    std::vector<unsigned char> frame(FrameHeaderSize + pageSize);
    for (off_t at = HeaderSize;; at += static_cast<off_t>(frame.size())) {
        if (!readAt(descriptor, frame.data(), frame.size(), at)
            || word32(frame.data() + 8) != word32(header + 16)
            || word32(frame.data() + 12) != word32(header + 20) || word32(frame.data()) == 0)
            break;
        checksum(bigEndian, frame.data(), 8, sum);
        checksum(bigEndian, frame.data() + FrameHeaderSize, pageSize, sum);
        if (sum[0] != word32(frame.data() + 16) || sum[1] != word32(frame.data() + 20))
            break;
        pending[word32(frame.data())] = at + static_cast<off_t>(FrameHeaderSize);
        if (const uint32_t pages = word32(frame.data() + 4)) {
            // A commit: its transaction's pages, and those before it, stand.
            for (const auto& [page, offset] : pending)
                logged.frames[page] = offset;
            pending.clear();
            logged.pages = pages;
        }
    }
    return logged;
}

} // namespace platform::storage::sqlite
