#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

// A view's walk through the copy of a ContainsSearch: the entries of the copy in the key's
// order whose text contains the sought one, each record read by its position into the buffer
// and offered to the view, which accepts it or not. It gives what the file's own walk in the
// key's order would give of those records, from the start or from the buffer's key values.
namespace platform::storage {

class ContainsSearch;
class RecordFile;

class ContainsWalk
{
public:
    explicit ContainsWalk(RecordFile& file) : m_file(file) {}

    void setSearch(std::shared_ptr<ContainsSearch> search);

    // Where a walk starts: the ends of the order, the buffer's key values (next() the first
    // record not lower, previous() the last not higher), or beyond a place, the buffer's key
    // values at a position (next() the first record after it, previous() the last before it).
    enum class Start : uint8_t { Ends, Values, Place };
    // At a view's positioning in the key's order: whether this walk goes through the copy.
    bool begin(int key, Start start, int64_t position = 0);
    bool active() const { return m_active; }

    // The next record the accept test takes, into the buffer; 0, 33 past the end, or the code
    // of a failed read. The error state is left as a walk of the file leaves it.
    int step(bool forward, const std::function<bool()>& accept);

private:
    enum class From : uint8_t { Ends, Values, Place, Entry };

    int locate(bool forward, std::size_t& entry);
    int beyond(bool forward, std::size_t& entry);

    RecordFile& m_file;
    std::shared_ptr<ContainsSearch> m_search;
    bool m_active = false;
    int m_key = -1;
    From m_from = From::Ends;
    std::vector<std::byte> m_values; // the buffer's key values the walk starts from
    std::size_t m_entry = 0;         // the entry of the record last given
    int64_t m_position = 0;          // its record position
    std::vector<std::byte> m_given;  // and the record as given (or the place's key values)
    std::vector<std::byte> m_scratch;
    std::unordered_set<int64_t> m_skipped; // positions not to give again in this walk
};

} // namespace platform::storage
