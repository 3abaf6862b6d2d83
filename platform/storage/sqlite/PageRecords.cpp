#include "platform/storage/sqlite/PageRecords.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/sqlite/PageCipher.h"
#include "platform/storage/sqlite/ResultCodes.h"
#include "platform/storage/sqlite/WriteAheadLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace platform::storage::sqlite {

namespace {

// The page size the storage gives its plain files (the engine's default).
constexpr std::size_t PlainPageSize = 4096;
constexpr std::size_t HeaderSize = 100;
constexpr uint32_t FirstTableRoot = 2;
constexpr char Signature[] = "SQLite format 3";

constexpr unsigned char IndexInterior = 0x02;
constexpr unsigned char TableInterior = 0x05;
constexpr unsigned char IndexLeaf = 0x0A;
constexpr unsigned char TableLeaf = 0x0D;

using Bytes = std::vector<unsigned char>;

uint32_t word16(const unsigned char* at) { return uint32_t(at[0]) << 8 | at[1]; }
uint32_t word32(const unsigned char* at)
{
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

// A varint at at (at most end): its length, 0 when it runs past end.
std::size_t varint(const unsigned char* at, const unsigned char* end, uint64_t& value)
{
    value = 0;
    for (std::size_t i = 0; i < 9; ++i) {
        if (at + i >= end)
            return 0;
        if (i == 8) {
            value = (value << 8) | at[i];
            return 9;
        }
        value = (value << 7) | (at[i] & 0x7F);
        if (!(at[i] & 0x80))
            return i + 1;
    }
    return 0;
}

class PageFile
{
public:
    PageFile(int descriptor, std::size_t pageSize, std::size_t reserved, uint32_t count,
             std::optional<PageCipher> cipher)
        : m_descriptor(descriptor), m_pageSize(pageSize), m_reserved(reserved), m_count(count),
          m_cipher(std::move(cipher))
    {
    }

    // Pages committed to a write-ahead log beside the file are read from the log.
    void useLog(int descriptor)
    {
        m_log = descriptor;
        m_logged = readWriteAheadLog(descriptor, m_pageSize);
        if (!m_logged.frames.empty())
            m_count = std::max(m_count, m_logged.pages);
    }

    uint32_t count() const { return m_count; }
    std::size_t usable() const { return m_pageSize - m_reserved; }

    // Page number (from 1), deciphered; false when it cannot be read.
    bool read(uint32_t number, Bytes& page) const
    {
        if (number < 1 || number > m_count)
            return false;
        page.resize(m_pageSize);
        const auto logged = m_logged.frames.find(number);
        const bool inLog = logged != m_logged.frames.end();
        const int descriptor = inLog ? m_log : m_descriptor;
        const off_t at = inLog ? logged->second
                               : static_cast<off_t>(number - 1) * static_cast<off_t>(m_pageSize);
        std::size_t done = 0;
        while (done < m_pageSize) {
            const ssize_t got = ::pread(descriptor, page.data() + done, m_pageSize - done,
                                        at + static_cast<off_t>(done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            done += static_cast<std::size_t>(got);
        }
        return !m_cipher || m_cipher->decipher(number, reinterpret_cast<std::byte*>(page.data()));
    }

private:
    int m_descriptor;
    std::size_t m_pageSize;
    std::size_t m_reserved;
    uint32_t m_count;
    std::optional<PageCipher> m_cipher;
    int m_log = -1;
    LoggedPages m_logged;
};

// The b-tree header of a page and where its cells are; false when it is no b-tree page.
struct TreePage
{
    unsigned char kind = 0;
    uint32_t rightChild = 0;
    std::vector<std::size_t> cells;
};

bool treePage(const Bytes& page, uint32_t number, std::size_t usable, TreePage& tree)
{
    const std::size_t start = number == 1 ? HeaderSize : 0;
    if (usable < start + 12 || page.size() < usable)
        return false;
    const unsigned char* header = page.data() + start;
    tree.kind = header[0];
    const bool interior = tree.kind == IndexInterior || tree.kind == TableInterior;
    if (!interior && tree.kind != IndexLeaf && tree.kind != TableLeaf)
        return false;
    const std::size_t headerEnd = start + (interior ? 12 : 8);
    const std::size_t count = word16(header + 3);
    if (headerEnd + 2 * count > usable)
        return false;
    tree.rightChild = interior ? word32(header + 8) : 0;
    tree.cells.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = word16(page.data() + headerEnd + 2 * i);
        if (at < headerEnd + 2 * count || at >= usable)
            return false;
        tree.cells.push_back(at);
    }
    return true;
}

// The payload of a table leaf's cell (its overflow chain followed) and its position.
bool tableCell(const PageFile& file, const Bytes& page, std::size_t at, int64_t& position,
               std::string& payload)
{
    const std::size_t usable = file.usable();
    const unsigned char* end = page.data() + usable;
    const unsigned char* cursor = page.data() + at;
    uint64_t size = 0;
    uint64_t rowid = 0;
    std::size_t length = varint(cursor, end, size);
    if (!length)
        return false;
    cursor += length;
    if (!(length = varint(cursor, end, rowid)))
        return false;
    cursor += length;
    position = static_cast<int64_t>(rowid);
    if (size > uint64_t(file.count()) * usable)
        return false;

    // How much of the payload stays on the page (the file format's rule).
    const std::size_t most = usable - 35;
    std::size_t local = static_cast<std::size_t>(size);
    if (size > most) {
        const std::size_t least = (usable - 12) * 32 / 255 - 23;
        const std::size_t k = least + static_cast<std::size_t>((size - least) % (usable - 4));
        local = k <= most ? k : least;
    }
    if (cursor + local + (local < size ? 4 : 0) > end)
        return false;
    payload.assign(reinterpret_cast<const char*>(cursor), local);
    uint32_t overflow = local < size ? word32(cursor + local) : 0;
    Bytes next;
    for (uint32_t hops = 0; payload.size() < size; ++hops) {
        if (hops > file.count() || !file.read(overflow, next))
            return false;
        const std::size_t take = std::min<std::size_t>(usable - 4, size - payload.size());
        payload.append(reinterpret_cast<const char*>(next.data() + 4), take);
        overflow = word32(next.data());
    }
    return true;
}

struct Value
{
    enum class Kind { Integer, Real, Text, Other } kind = Kind::Other;
    int64_t integer = 0;
    double real = 0;
    std::string_view text;
};

// The values of a record (the file format's record: a header of serial types, then the body).
bool decodeRecord(std::string_view payload, std::vector<Value>& values)
{
    values.clear();
    const auto* data = reinterpret_cast<const unsigned char*>(payload.data());
    const unsigned char* end = data + payload.size();
    uint64_t headerSize = 0;
    std::size_t length = varint(data, end, headerSize);
    if (!length || headerSize > payload.size() || headerSize < length)
        return false;
    const unsigned char* type = data + length;
    const unsigned char* headerEnd = data + headerSize;
    const unsigned char* body = headerEnd;
    while (type < headerEnd) {
        uint64_t serial = 0;
        if (!(length = varint(type, headerEnd, serial)))
            return false;
        type += length;
        Value value;
        std::size_t width = 0;
        if (serial >= 1 && serial <= 6)
            width = serial == 5 ? 6 : serial == 6 ? 8 : serial;
        else if (serial == 7)
            width = 8;
        else if (serial >= 12)
            width = static_cast<std::size_t>((serial - 12) / 2);
        if (width > static_cast<std::size_t>(end - body))
            return false;
        if (serial == 8 || serial == 9) {
            value.kind = Value::Kind::Integer;
            value.integer = serial == 9;
        } else if (serial >= 1 && serial <= 6) {
            uint64_t bits = body[0] & 0x80 ? ~uint64_t{0} : 0;
            for (std::size_t i = 0; i < width; ++i)
                bits = (bits << 8) | body[i];
            value.kind = Value::Kind::Integer;
            value.integer = static_cast<int64_t>(bits);
        } else if (serial == 7) {
            uint64_t bits = 0;
            for (std::size_t i = 0; i < 8; ++i)
                bits = (bits << 8) | body[i];
            value.kind = Value::Kind::Real;
            std::memcpy(&value.real, &bits, sizeof bits);
        } else if (serial >= 13 && serial % 2 == 1) {
            value.kind = Value::Kind::Text;
            value.text = std::string_view(reinterpret_cast<const char*>(body), width);
        }
        body += width;
        values.push_back(value);
    }
    return true;
}

template <typename T>
void store(std::byte* at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

// The values as a record of the layout (as the storage's codec reads a row); false when they
// are not one.
bool toRecord(const FileLayout& layout, const std::vector<Value>& values, std::byte* record)
{
    if (values.size() != layout.fields.size())
        return false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const FieldDef& field = layout.fields[i];
        const Value& value = values[i];
        std::byte* at = record ? record + field.offset : nullptr;
        if (field.type == FieldType::String) {
            if (value.kind != Value::Kind::Text || value.text.size() > field.size)
                return false;
            if (at) {
                std::memcpy(at, value.text.data(), value.text.size());
                std::memset(at + value.text.size(), ' ', field.size - value.text.size());
            }
            continue;
        }
        if (value.kind != Value::Kind::Integer
            && !(field.type == FieldType::Real && value.kind == Value::Kind::Real))
            return false;
        if (!at)
            continue;
        switch (field.type) {
        case FieldType::Byte:
            store(at, static_cast<uint8_t>(value.integer));
            break;
        case FieldType::Short:
            store(at, static_cast<int16_t>(value.integer));
            break;
        case FieldType::Long:
            store(at, static_cast<int32_t>(value.integer));
            break;
        case FieldType::Real:
            store(at, value.kind == Value::Kind::Real ? value.real
                                                      : static_cast<double>(value.integer));
            break;
        case FieldType::String:
            break;
        }
    }
    return true;
}

// The quoted column names of a table's CREATE statement, in order.
std::vector<std::string> quotedNames(std::string_view sql)
{
    std::vector<std::string> names;
    for (std::size_t at = sql.find('"'); at != std::string_view::npos; at = sql.find('"', at)) {
        std::string name;
        for (++at; at < sql.size(); ++at) {
            if (sql[at] == '"' && at + 1 < sql.size() && sql[at + 1] == '"')
                name += sql[++at];
            else if (sql[at] == '"')
                break;
            else
                name += sql[at];
        }
        names.push_back(std::move(name));
        ++at;
    }
    return names;
}

struct Cell
{
    int64_t position;
    uint32_t page;
    uint32_t cell;
    bool inTree;
};

class Reader
{
public:
    Reader(const PageFile& file, const FileLayout& layout)
        : m_file(file), m_layout(layout)
    {
    }

    // The pages the header lists as free (trunks and leaves).
    void readFreeList(const Bytes& first)
    {
        uint32_t trunk = word32(first.data() + 32);
        Bytes page;
        for (uint32_t hops = 0; trunk && hops <= m_file.count() && m_file.read(trunk, page);
             ++hops) {
            m_excluded.insert(trunk);
            const uint32_t leaves = word32(page.data() + 4);
            for (uint32_t i = 0; i < leaves && 8 + 4 * i + 4 <= m_file.usable(); ++i)
                m_excluded.insert(word32(page.data() + 8 + 4 * i));
            trunk = word32(page.data());
        }
    }

    // Walks a tree from its root: its pages are excluded from the search for cut-off leaves;
    // the table leaves' cells are given when wanted.
    void walk(uint32_t root, bool wanted, const std::function<void(const Bytes&, uint32_t,
                                                                   const TreePage&)>& leaf = {})
    {
        std::vector<uint32_t> pending{root};
        Bytes page;
        TreePage tree;
        while (!pending.empty()) {
            const uint32_t number = pending.back();
            pending.pop_back();
            if (!m_reached.insert(number).second)
                continue;
            const bool readable =
                m_file.read(number, page) && treePage(page, number, m_file.usable(), tree);
            if (!readable || (wanted && tree.kind != TableInterior && tree.kind != TableLeaf)) {
                m_treeDamaged = m_treeDamaged || wanted;
                continue;
            }
            if (tree.kind == TableInterior || tree.kind == IndexInterior) {
                pending.push_back(tree.rightChild);
                for (const std::size_t at : tree.cells)
                    if (at + 4 <= m_file.usable())
                        pending.push_back(word32(page.data() + at));
            } else if (tree.kind == TableLeaf && leaf) {
                leaf(page, number, tree);
            } else if (tree.kind == TableLeaf && wanted) {
                takeLeaf(page, number, tree, true);
            }
        }
    }

    // The cells of a table leaf that are records of the layout; a leaf found outside the tree
    // counts only when all its cells are.
    void takeLeaf(const Bytes& page, uint32_t number, const TreePage& tree, bool inTree)
    {
        std::vector<Cell> found;
        std::string payload;
        std::vector<Value> values;
        for (std::size_t i = 0; i < tree.cells.size(); ++i) {
            int64_t position = 0;
            const bool record = tableCell(m_file, page, tree.cells[i], position, payload)
                                && decodeRecord(payload, values) && !schemaRow(values)
                                && toRecord(m_layout, values, nullptr);
            if (record)
                found.push_back({position, number, static_cast<uint32_t>(i), inTree});
            else if (!inTree)
                return;
            else
                m_treeDamaged = true;
        }
        m_cells.insert(m_cells.end(), found.begin(), found.end());
    }

    // Leaves of the table that damage above them cut off from its tree.
    void searchCutOffLeaves()
    {
        Bytes page;
        TreePage tree;
        for (uint32_t number = 2; number <= m_file.count(); ++number) {
            if (m_reached.count(number) || m_excluded.count(number) || !m_file.read(number, page)
                || !treePage(page, number, m_file.usable(), tree) || tree.kind != TableLeaf
                || tree.cells.empty())
                continue;
            takeLeaf(page, number, tree, false);
        }
    }

    // Gives the records in order of position, each once (the tree's copy first).
    void give(const std::function<void(const std::byte*)>& each)
    {
        std::sort(m_cells.begin(), m_cells.end(), [](const Cell& a, const Cell& b) {
            return a.position != b.position ? a.position < b.position : a.inTree > b.inTree;
        });
        std::vector<std::byte> record(m_layout.recordSize);
        Bytes page;
        uint32_t loaded = 0;
        TreePage tree;
        std::string payload;
        std::vector<Value> values;
        std::optional<int64_t> last;
        for (const Cell& cell : m_cells) {
            if (last && *last == cell.position)
                continue;
            if (loaded != cell.page) {
                loaded = 0;
                if (!m_file.read(cell.page, page)
                    || !treePage(page, cell.page, m_file.usable(), tree))
                    continue;
                loaded = cell.page;
            }
            int64_t position = 0;
            std::fill(record.begin(), record.end(), std::byte{0});
            if (tableCell(m_file, page, tree.cells[cell.cell], position, payload)
                && decodeRecord(payload, values) && toRecord(m_layout, values, record.data())) {
                last = cell.position;
                each(record.data());
            }
        }
    }

    bool found() const { return !m_cells.empty(); }
    // Whether the table's tree met a page or a cell it could not read.
    bool treeDamaged() const { return m_treeDamaged; }

    void exclude(uint32_t page) { m_excluded.insert(page); }

private:
    // A row of the engine's own schema table, which a layout of that shape would take.
    static bool schemaRow(const std::vector<Value>& values)
    {
        return values.size() == 5 && values[0].kind == Value::Kind::Text
               && (values[0].text == "table" || values[0].text == "index")
               && values[4].kind == Value::Kind::Text && values[4].text.substr(0, 7) == "CREATE ";
    }

    const PageFile& m_file;
    const FileLayout& m_layout;
    std::set<uint32_t> m_reached;
    std::set<uint32_t> m_excluded;
    std::vector<Cell> m_cells;
    bool m_treeDamaged = false;
};

struct Descriptor
{
    explicit Descriptor(const std::string& path)
        : fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

bool readAt(int fd, unsigned char* into, std::size_t size)
{
    return ::pread(fd, into, size, 0) == static_cast<ssize_t>(size);
}

} // namespace

int readRecordPages(const std::string& path, const FileLayout& layout,
                    const std::function<void(const std::byte*)>& each)
{
    Descriptor descriptor(path);
    if (descriptor.fd < 0)
        return codeOfErrno(errno);
    struct stat info {};
    if (::fstat(descriptor.fd, &info) != 0)
        return codeOfErrno(errno);
    const auto size = static_cast<std::size_t>(info.st_size);

    // The page size and the reserved bytes from the header where it still gives them.
    std::size_t pageSize = PlainPageSize;
    std::size_t reserved = 0;
    std::optional<PageCipher> cipher;
    if (!layout.ownerPassword.empty()) {
        unsigned char salt[PageCipher::SaltSize] = {};
        if (!readAt(descriptor.fd, salt, sizeof salt))
            return Error::DamagedDataFile;
        cipher.emplace(layout.ownerPassword, reinterpret_cast<const std::byte*>(salt));
        pageSize = PageCipher::PageSize;
        reserved = PageCipher::Reserved;
    } else {
        unsigned char header[HeaderSize] = {};
        if (size >= HeaderSize && readAt(descriptor.fd, header, sizeof header)) {
            const std::size_t stated = word16(header + 16) == 1 ? 65536 : word16(header + 16);
            const bool signature = std::memcmp(header, Signature, sizeof Signature) == 0;
            // Beyond the signature, the fixed payload fractions tell a header that still holds.
            const bool fractions = header[21] == 64 && header[22] == 32 && header[23] == 32;
            if ((signature || fractions) && stated >= 512 && stated <= 65536
                && (stated & (stated - 1)) == 0 && header[20] < stated - 480) {
                pageSize = stated;
                reserved = header[20];
            }
        }
    }
    PageFile file(descriptor.fd, pageSize, reserved, static_cast<uint32_t>(size / pageSize),
                  std::move(cipher));
    const Descriptor log(path + "-wal");
    if (log.fd >= 0)
        file.useLog(log.fd);
    Reader reader(file, layout);

    Bytes first;
    TreePage tree;
    const bool firstRead = file.read(1, first);
    if (firstRead && (std::memcmp(first.data(), Signature, sizeof Signature) == 0
                      || (first[21] == 64 && first[22] == 32 && first[23] == 32)))
        reader.readFreeList(first);
    uint32_t recordsRoot = 0;
    if (firstRead && treePage(first, 1, file.usable(), tree)) {
        // The schema: the table's root and columns, and the other trees' pages.
        std::vector<uint32_t> otherRoots;
        std::string recordsSql;
        std::string payload;
        std::vector<Value> values;
        reader.walk(1, false, [&](const Bytes& page, uint32_t, const TreePage& leaf) {
            for (const std::size_t at : leaf.cells) {
                int64_t position = 0;
                if (!tableCell(file, page, at, position, payload) || !decodeRecord(payload, values)
                    || values.size() != 5 || values[3].kind != Value::Kind::Integer)
                    continue;
                const auto root = static_cast<uint32_t>(values[3].integer);
                if (values[0].text == "table" && values[1].text == "records") {
                    recordsRoot = root;
                    recordsSql = std::string(values[4].text);
                } else if (root) {
                    otherRoots.push_back(root);
                }
            }
        });
        if (recordsRoot) {
            std::vector<std::string> expected;
            for (const FieldDef& field : layout.fields)
                expected.push_back(field.name);
            if (quotedNames(recordsSql) != expected)
                return Error::InvalidLayout;
            for (const uint32_t root : otherRoots)
                reader.walk(root, false);
        }
    }
    reader.exclude(1); // the schema's root, wherever the header went
    // The storage makes the table first, so without a schema its root is the second page.
    reader.walk(recordsRoot ? recordsRoot : FirstTableRoot, true);
    // Leaves cut off from the tree are searched for only where the tree is damaged or
    // unknown: a leaf outside an intact tree is a free page that may hold deleted records.
    if (!recordsRoot || reader.treeDamaged())
        reader.searchCutOffLeaves();
    if (!recordsRoot && !reader.found())
        return Error::DamagedDataFile;
    reader.give(each);
    return Error::None;
}

} // namespace platform::storage::sqlite
