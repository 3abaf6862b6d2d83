#include "app/ipmprice/PriceListImportReader.h"

#include "app/ipmprice/PriceListLineAssembler.h"
#include "platform/storage/ByteFile.h"
#include "platform/text/Utf8Stream.h"

#include <algorithm>

#include <utility>

namespace app {
namespace {

constexpr std::size_t ChunkSize = 256 * 1024;

// A line written as the format asks: a code in digits, then a separator. A source with none
// (an empty file, only line ends, a web page) is no price list, whatever else it holds.
bool isPriceLine(std::string_view line)
{
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    if (!line.empty() && line.front() == '-')
        line.remove_prefix(1);
    return !line.empty() && line.front() >= '0' && line.front() <= '9' &&
           line.find(';') != std::string_view::npos;
}

bool holdsWideByte(std::string_view line)
{
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

PriceListImportReader::PriceListImportReader(platform::storage::ByteFile& text, bool asUtf8)
    : m_text(text), m_asUtf8(asUtf8), m_thread([this] { run(); })
{
}

PriceListImportReader::~PriceListImportReader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

bool PriceListImportReader::next(Batch& batch)
{
    std::unique_lock lock(m_mutex);
    if (!batch.lines.empty()) {
        batch.count = 0;
        m_empty.push_back(std::move(batch));
        batch = Batch{};
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return !m_full.empty() || m_done; });
    if (m_full.empty())
        return false;
    batch = std::move(m_full.front());
    m_full.pop_front();
    m_changed.notify_all();
    return true;
}

int PriceListImportReader::code() const
{
    const std::lock_guard lock(m_mutex);
    return m_code;
}

int64_t PriceListImportReader::bytes() const
{
    const std::lock_guard lock(m_mutex);
    return m_bytes;
}

PriceListImportReader::Shapes PriceListImportReader::shapes() const
{
    const std::lock_guard lock(m_mutex);
    return m_shapes;
}

// An empty batch to fill: one given back, or a new one while fewer than BatchesAhead exist.
// False when the reader is to stop.
bool PriceListImportReader::takeEmpty(Batch& batch)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || !m_empty.empty() || m_batches < BatchesAhead; });
    if (m_stop)
        return false;
    if (!m_empty.empty()) {
        batch = std::move(m_empty.back());
        m_empty.pop_back();
    } else {
        ++m_batches;
        batch = Batch{};
        batch.lines.resize(LinesPerBatch);
    }
    batch.count = 0;
    return true;
}

void PriceListImportReader::publish(Batch& batch)
{
    {
        const std::lock_guard lock(m_mutex);
        m_full.push_back(std::move(batch));
    }
    batch = Batch{};
    m_changed.notify_all();
}

void PriceListImportReader::run()
{
    std::vector<std::byte> chunk(ChunkSize);
    PriceListLineAssembler assembler;
    Batch batch;
    int code = 0;
    int64_t bytes = 0;
    Shapes shapes;
    // Read as they are, the bytes are looked at as UTF-8 until they break it.
    platform::text::Utf8Stream utf8;
    std::string converted;
    bool going = takeEmpty(batch);
    while (going) {
        std::size_t got = 0;
        code = m_text.readBytes(chunk.data(), chunk.size(), got);
        if (code != 0 || got == 0)
            break;
        bytes += static_cast<int64_t>(got);
        std::string_view piece(reinterpret_cast<const char*>(chunk.data()), got);
        if (m_asUtf8) {
            converted.clear();
            utf8.take(piece, &converted);
            piece = converted;
        } else if (utf8.valid()) {
            utf8.take(piece);
        }
        for (std::size_t i = 0; i < piece.size() && going; ++i) {
            if (!assembler.take(static_cast<uint8_t>(piece[i])))
                continue;
            Line& line = batch.lines[batch.count++];
            std::optional<PriceListTextLine> fields = PriceListTextLine::parse(assembler.line());
            line.blank = !fields;
            line.priceLine = fields && isPriceLine(assembler.line());
            if (fields) {
                line.fields = std::move(*fields);
                ++shapes.lines;
                shapes.heldNul = shapes.heldNul || assembler.heldNul();
                if ((assembler.heldNul() || !looksLikePriceLine(assembler.line())) &&
                    shapes.odd++ == 0)
                    shapes.firstOdd = assembler.line();
                if (!m_asUtf8 && utf8.valid() && shapes.firstWide.empty() &&
                    holdsWideByte(assembler.line()))
                    shapes.firstWide = assembler.line();
            }
            if (batch.count == batch.lines.size()) {
                publish(batch);
                going = takeEmpty(batch);
            }
        }
    }
    utf8.finish();
    shapes.looksUtf8 = !m_asUtf8 && utf8.valid() && utf8.wideCharacters() > 0;
    {
        const std::lock_guard lock(m_mutex);
        if (going && batch.count != 0)
            m_full.push_back(std::move(batch));
        m_code = code;
        m_bytes = bytes;
        m_shapes = std::move(shapes);
        m_done = true;
    }
    m_changed.notify_all();
}

} // namespace app
