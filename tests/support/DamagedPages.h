#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

// Damage as a failing disk leaves it in a data file (an SQLite database of 4096-byte pages):
// whole pages overwritten with bytes that are no page at all.
namespace testsupport {

constexpr std::size_t DataPageSize = 4096;

// The pages (from 0) that hold records of the file's table, the last one in the file first
// (the page of the stored layout description is left out).
std::vector<std::size_t> recordPages(const std::string& bytes);
// The leaf pages of the file's keys (indexes), the last one in the file first.
std::vector<std::size_t> keyPages(const std::string& bytes);
// The positions (rowids) of the records a page of recordPages holds.
std::set<int64_t> positionsOn(const std::string& bytes, std::size_t page);
// The interior pages of the file's table (those that lead to its record pages).
std::vector<std::size_t> recordTreePages(const std::string& bytes);
// The page that holds the stored layout description.
std::size_t layoutPage(const std::string& bytes);
// The bytes with the pages overwritten.
std::string damagePages(std::string bytes, const std::vector<std::size_t>& pages);

// The file's signature (its first 16 bytes) overwritten.
std::string damageSignature(std::string bytes);
// The file cut right after its last record page (the keys' pages beyond it lost).
std::string cutAfterRecordPages(const std::string& bytes);

// Overwrites a record page of the file on disk, counted from the file's end (0: the last one);
// returns the positions of the records it held. The file's bytes after the damage are left in
// damaged when given.
std::set<int64_t> damageRecordPage(const std::filesystem::path& file, std::size_t fromEnd,
                                   std::string* damaged = nullptr);
// The same for a leaf page of the file's keys; the file's bytes after the damage.
std::string damageKeyPage(const std::filesystem::path& file, std::size_t fromEnd);

} // namespace testsupport
