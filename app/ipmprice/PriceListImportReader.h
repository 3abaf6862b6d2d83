#pragma once

#include "app/ipmprice/PriceListLineAssembler.h"
#include "app/ipmprice/PriceListTextLine.h"
#include "platform/text/Utf8Stream.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace platform::storage {
class ByteFile;
}

// Reads a price-list text file, gathers its lines and parses them on a thread of its own, and
// hands the lines over in batches in file order: the file is read and parsed while the caller
// writes the records of the batches before. When the system gives no thread, each batch is
// read and parsed by the caller's next(). The file must be open and set to its start, and
// nothing else may use it until the reader is gone; the caller's error state is left alone.
namespace app {

class PriceListImportReader
{
public:
    struct Line
    {
        bool blank = true;      // empty or blanks only: no item
        bool priceLine = false; // written as the format asks (a code in digits, a separator)
        PriceListTextLine fields;
    };
    struct Batch
    {
        std::vector<Line> lines; // the first count are this batch's; the rest are kept for reuse
        std::size_t count = 0;
    };

    // asUtf8: the file's bytes are UTF-8, read in their Windows-1251 form.
    explicit PriceListImportReader(platform::storage::ByteFile& text, bool asUtf8 = false);
    ~PriceListImportReader();
    PriceListImportReader(const PriceListImportReader&) = delete;
    PriceListImportReader& operator=(const PriceListImportReader&) = delete;

    // Of the lines that are not blank: how many, how many do not look like price lines
    // (looksLikePriceLine) or hold a NUL byte, the first of those as it was kept, and whether
    // any held a NUL byte; whether the file's bytes, read as they are, form UTF-8 with
    // characters outside ASCII, and the first line that holds one, as it was kept.
    struct Shapes
    {
        int64_t lines = 0;
        int64_t odd = 0;
        std::string firstOdd;
        bool heldNul = false;
        bool looksUtf8 = false;
        std::string firstWide;
    };

    // The next batch (the one given back is reused); false once every line was given. Then
    // code() is 0, or the code of the read that failed, bytes() the bytes read and shapes()
    // what the lines looked like.
    bool next(Batch& batch);
    int code() const;
    int64_t bytes() const;
    Shapes shapes() const;

    static constexpr std::size_t LinesPerBatch = 2048;
    static constexpr std::size_t BatchesAhead = 8;

private:
    void run();
    bool nextHere(Batch& batch);
    bool fill(Batch& batch);
    void finish();
    bool takeEmpty(Batch& batch);
    void publish(Batch& batch);

    platform::storage::ByteFile& m_text;
    // The reading side's (the reader's thread, or the caller's when none could be started).
    bool m_asUtf8;
    std::vector<std::byte> m_chunk;
    std::string_view m_piece; // of the chunk, or of its UTF-8 read in Windows-1251
    std::size_t m_pieceAt = 0;
    platform::text::Utf8Stream m_utf8;
    std::string m_converted;
    PriceListLineAssembler m_assembler;
    int m_readCode = 0;
    int64_t m_readBytes = 0;
    Shapes m_readShapes;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Batch> m_full;
    std::vector<Batch> m_empty;
    std::size_t m_batches = 0; // made so far, full, empty or in someone's hands
    bool m_done = false;
    bool m_stop = false;
    int m_code = 0;
    int64_t m_bytes = 0;
    Shapes m_shapes;
    std::thread m_thread;
};

} // namespace app
