#include "tests/support/DamagedPages.h"

#include "tests/support/TempWorkFolder.h"

#include <stdexcept>
#include <string_view>

namespace testsupport {

namespace {

constexpr unsigned char TableLeaf = 0x0D;
constexpr unsigned char IndexLeaf = 0x0A;
constexpr unsigned char TableInterior = 0x05;

std::vector<std::size_t> pagesOfKind(const std::string& bytes, unsigned char kind)
{
    std::vector<std::size_t> pages;
    for (std::size_t page = bytes.size() / DataPageSize; page-- > 1;) {
        const std::string_view content =
            std::string_view(bytes).substr(page * DataPageSize, DataPageSize);
        if (static_cast<unsigned char>(content[0]) == kind &&
            content.find("field ") == std::string_view::npos)
            pages.push_back(page);
    }
    return pages;
}

uint64_t varint(const std::string& bytes, std::size_t& at)
{
    uint64_t value = 0;
    for (int i = 0; i < 9; ++i) {
        const auto byte = static_cast<unsigned char>(bytes.at(at++));
        if (i == 8)
            return (value << 8) | byte;
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            break;
    }
    return value;
}

} // namespace

std::vector<std::size_t> recordPages(const std::string& bytes)
{
    return pagesOfKind(bytes, TableLeaf);
}

std::vector<std::size_t> keyPages(const std::string& bytes)
{
    return pagesOfKind(bytes, IndexLeaf);
}

std::vector<std::size_t> recordTreePages(const std::string& bytes)
{
    return pagesOfKind(bytes, TableInterior);
}

std::size_t layoutPage(const std::string& bytes)
{
    const std::size_t at = bytes.find("field ");
    if (at == std::string::npos)
        throw std::runtime_error("the file holds no layout description");
    return at / DataPageSize;
}

std::string damageSignature(std::string bytes)
{
    for (std::size_t i = 0; i < 16; ++i)
        bytes.at(i) = static_cast<char>(0xA5 ^ i);
    return bytes;
}

std::string cutAfterRecordPages(const std::string& bytes)
{
    const std::vector<std::size_t> pages = recordPages(bytes);
    if (pages.empty())
        throw std::runtime_error("the file has no record pages");
    return bytes.substr(0, (pages.front() + 1) * DataPageSize);
}

std::set<int64_t> positionsOn(const std::string& bytes, std::size_t page)
{
    const std::size_t start = page * DataPageSize;
    const auto word = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(bytes.at(start + at))) << 8 |
               static_cast<unsigned char>(bytes.at(start + at + 1));
    };
    std::set<int64_t> positions;
    for (std::size_t cell = 0; cell < word(3); ++cell) {
        std::size_t at = start + word(8 + 2 * cell);
        varint(bytes, at); // the record's length
        positions.insert(static_cast<int64_t>(varint(bytes, at)));
    }
    return positions;
}

std::string damagePages(std::string bytes, const std::vector<std::size_t>& pages)
{
    for (const std::size_t page : pages)
        for (std::size_t i = page * DataPageSize; i < (page + 1) * DataPageSize; ++i)
            bytes.at(i) = static_cast<char>((i * 131) ^ 0x5A);
    return bytes;
}

std::set<int64_t> damageRecordPage(const std::filesystem::path& file, std::size_t fromEnd,
                                   std::string* damaged)
{
    const std::string bytes = readFileBytes(file);
    const std::vector<std::size_t> pages = recordPages(bytes);
    if (fromEnd >= pages.size())
        throw std::runtime_error("the file has too few record pages");
    const std::string after = damagePages(bytes, {pages[fromEnd]});
    writeFileBytes(file, after);
    if (damaged)
        *damaged = after;
    return positionsOn(bytes, pages[fromEnd]);
}

} // namespace testsupport

namespace testsupport {

std::string damageKeyPage(const std::filesystem::path& file, std::size_t fromEnd)
{
    const std::string bytes = readFileBytes(file);
    const std::vector<std::size_t> pages = keyPages(bytes);
    if (fromEnd >= pages.size())
        throw std::runtime_error("the file has too few key pages");
    const std::string after = damagePages(bytes, {pages[fromEnd]});
    writeFileBytes(file, after);
    return after;
}

} // namespace testsupport
