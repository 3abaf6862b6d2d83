#include "app/ipmprice/PriceListImportReader.h"

#include "app/ipmprice/PriceListLineAssembler.h"
#include "platform/storage/ByteFile.h"
#include "platform/text/Utf8Stream.h"

#include <algorithm>
#include <system_error>
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
    : m_text(text), m_asUtf8(asUtf8), m_chunk(ChunkSize)
{
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // The system gives no thread (a process limit): next() reads on the caller's thread.
    }
}

PriceListImportReader::~PriceListImportReader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool PriceListImportReader::next(Batch& batch)
{
    if (!m_thread.joinable())
        return nextHere(batch);
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

bool PriceListImportReader::nextHere(Batch& batch)
{
    if (m_done)
        return false;
    batch.lines.resize(LinesPerBatch);
    batch.count = 0;
    if (fill(batch))
        return true;
    finish();
    return batch.count != 0;
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

// Reads on until the batch is full (true) or the text has ended (false, the batch holding
// the last lines).
bool PriceListImportReader::fill(Batch& batch)
{
    while (true) {
        if (m_pieceAt == m_piece.size()) {
            m_pieceAt = 0;
            m_piece = {};
            std::size_t got = 0;
            m_readCode = m_text.readBytes(m_chunk.data(), m_chunk.size(), got);
            if (m_readCode != 0 || got == 0)
                return false;
            m_readBytes += static_cast<int64_t>(got);
            m_piece = std::string_view(reinterpret_cast<const char*>(m_chunk.data()), got);
            // Read as they are, the bytes are looked at as UTF-8 until they break it.
            if (m_asUtf8) {
                m_converted.clear();
                m_utf8.take(m_piece, &m_converted);
                m_piece = m_converted;
            } else if (m_utf8.valid()) {
                m_utf8.take(m_piece);
            }
        }
        while (m_pieceAt < m_piece.size()) {
            if (!m_assembler.take(static_cast<uint8_t>(m_piece[m_pieceAt++])))
                continue;
            Line& line = batch.lines[batch.count++];
            std::optional<PriceListTextLine> fields = PriceListTextLine::parse(m_assembler.line());
            line.blank = !fields;
            line.priceLine = fields && isPriceLine(m_assembler.line());
            if (fields) {
                line.fields = std::move(*fields);
                ++m_readShapes.lines;
                m_readShapes.heldNul = m_readShapes.heldNul || m_assembler.heldNul();
                if ((m_assembler.heldNul() || !looksLikePriceLine(m_assembler.line())) &&
                    m_readShapes.odd++ == 0)
                    m_readShapes.firstOdd = m_assembler.line();
                if (!m_asUtf8 && m_utf8.valid() && m_readShapes.firstWide.empty() &&
                    holdsWideByte(m_assembler.line()))
                    m_readShapes.firstWide = m_assembler.line();
            }
            if (batch.count == batch.lines.size())
                return true;
        }
    }
}

void PriceListImportReader::finish()
{
    m_utf8.finish();
    m_readShapes.looksUtf8 = !m_asUtf8 && m_utf8.valid() && m_utf8.wideCharacters() > 0;
    {
        const std::lock_guard lock(m_mutex);
        m_code = m_readCode;
        m_bytes = m_readBytes;
        m_shapes = std::move(m_readShapes);
        m_done = true;
    }
    m_changed.notify_all();
}

void PriceListImportReader::run()
{
    Batch batch;
    bool going = takeEmpty(batch);
    while (going && fill(batch)) {
        publish(batch);
        going = takeEmpty(batch);
    }
    if (going && batch.count != 0) {
        const std::lock_guard lock(m_mutex);
        m_full.push_back(std::move(batch));
    }
    finish();
}

} // namespace app
