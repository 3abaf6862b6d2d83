#pragma once

#include "platform/storage/ByteFile.h"

#include <cstddef>

namespace net {

// The record field OUT:S: one chunk of a download.
constexpr std::size_t DownloadRecordSize = 40000;
// The file-name buffer holds at most this many characters.
constexpr std::size_t DownloadNameLength = 259;

// The one file the HTTP client downloads into (records of up to 40000 bytes, the raw body).
// It exists once for the program, so only one download into a file runs at a time.
platform::storage::ByteFile& downloadFile();

} // namespace net
