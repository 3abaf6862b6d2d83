#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// A keyed record file: fixed-layout records, keys over fields, a record buffer and an open state
// per logical thread. Every operation returns the error code it also leaves in the thread's
// error state (0 = success).
namespace platform::storage {

class BackgroundScan;
class FilterSql;

// Changes whenever the file's records may have changed: a write through this process, a
// commit by another process, or the file made anew. Equal versions mean the same records.
struct ContentVersion
{
    uint64_t connection = 0;
    uint64_t writes = 0;
    int64_t others = 0;
    bool operator==(const ContentVersion&) const = default;
};

class RecordFile
{
public:
    explicit RecordFile(FileLayout layout);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    const FileLayout& layout() const;
    const std::string& label() const;

    // The disk name: by default the label in lower case plus ".tps" in the current working
    // folder. Names are resolved case-insensitively in their folder; "\" is accepted.
    void setDiskName(std::string name);
    std::string diskName() const;

    // The calling thread's record buffer (layout().recordSize bytes).
    std::byte* buffer();
    const std::byte* buffer() const;
    template <typename Record> Record& record() { return *reinterpret_cast<Record*>(buffer()); }
    // Numbers to zero, strings to blanks.
    void clearBuffer();

    // Share-mode byte: low nibble access (0 read, 2 read/write), high nibble what others are
    // denied (0x20 writing, 0x40 nothing). A writer that denies writing holds the file's lock.
    int open(uint8_t mode = 0x22);
    int close();
    bool isOpen() const;         // for the calling thread
    bool isReadOnly() const;     // opened without write access
    int create();                // a new empty file under the disk name, replacing any such file
    // Whether damage was met in the file (by any thread) since it was opened: from then on
    // every write, stream and count is refused with 36 until the file's last close.
    bool damaged() const;
    // Every record of the file that can still be read, in physical order, each in turn in
    // the calling thread's buffer: read off the table's pages by the engine's file format,
    // whatever the state of the header, the schema, the keys and the layout description,
    // damaged pages stepped over. Reads the file by itself, whether or not the thread has it
    // open, and changes nothing. 0 when something of the table was found; 36 when nothing of
    // the file can be read (47 when its records are not of this layout).
    int salvage(const std::function<void()>& each);

    int setFileOrder();          // next() then walks physical order from the start
    int setKey(int key);         // from the start of the key's order
    int setKeyFromBuffer(int key); // from the first record whose key is not lower than the buffer's
    // Every key ends in a hidden component, the record's position (physical order), so equal
    // key values are ordered by position and (key values, position) is a unique place. The walk
    // goes on beyond the buffer's key values at the position: next() gives the first record
    // after that place, previous() the last one before it.
    int setKeyAt(int key, int64_t position);
    int setFileOrderAt(int64_t position); // the same in physical order
    // The position of the record last read or written (0: none), and a record read by its
    // position as the record last read (35 when no record is there).
    int64_t position() const;
    int getAt(int64_t position);
    // The record at a position copied into record (recordSize bytes), leaving the buffer and
    // the record last read alone; 35 when no record is there.
    int peekAt(int64_t position, std::byte* record);
    // A condition (a translated filter) the calling thread's current walk must meet, decided
    // by the engine so that rejected records are never fetched; the set operations above
    // remove it, so it is given after them. A condition the engine cannot take (nested deeper
    // than its parser goes) is refused with 800 and the walk carries none.
    int setWalkFilter(std::shared_ptr<const FilterSql> filter);
    const FilterSql* walkFilter() const;
    int next();                  // 33 past the end
    int previous();
    int get(int key);            // the record whose key equals the buffer's; 35 when none

    // The calling thread's open connection's content version (all zero when not open).
    ContentVersion contentVersion();
    // Whether a run of writes (stream) is open on the file: its records may still roll back.
    bool inStream() const;
    // Every record of the key in the key's order (equal values by position), with the value
    // of an expression over the file's fields translated to SQL; the call gets the position
    // and the value's text and returns false to stop. The storage code.
    int scanKeyOrder(int key, const FilterSql& expression,
                     const std::function<bool(int64_t, std::string_view)>& each);

    // The largest record position (0 when empty): at least the number of records, found at
    // once where counting them reads a whole key.
    int64_t largestPosition();
    // The same walk as scanKeyOrder, to run on another thread than this one (which goes on
    // meanwhile) while the file as it is now is read; null inside a run of writes.
    std::unique_ptr<BackgroundScan> backgroundScan(int key,
                                                   std::shared_ptr<const FilterSql> expression);

    int add();                   // 40 on a unique key's duplicate
    int put();                   // rewrite the record last read
    int erase();                 // delete the record last read
    int empty();                 // delete every record
    int64_t records();

    // A bulk fill inside the calling thread's run of writes (an emptied file filled with many
    // records): the keys that allow duplicates are dropped now and each is built once, from
    // sorted entries, by endBulkFill() or at the latest by the run's flush, instead of being
    // kept record by record. Unique keys stay kept, so add() still refuses a duplicate at
    // once. Until the end the dropped keys cannot be walked or searched (77). The drop is part
    // of the run: a discard, a failed run or a killed process gives them back with the records,
    // and a run is never committed without them. A build that fails discards the run.
    int beginBulkFill();         // 97 outside a run of writes
    int endBulkFill();

    int stream();                // start a run of writes (one transaction)
    // One run of writes over this file and partner (both open for writing in the calling
    // thread, neither in a run): one transaction whose commit takes both files as one unit,
    // so a failure or a killed process leaves both as before or both as after. Each file
    // ends it with its own flush or discard; the last of them commits.
    int stream(RecordFile& partner);
    int flush();                 // make the run durable and end it
    // Ends the thread's run of writes without keeping any of them (the partner's of a joint
    // run neither: its later writes and its flush are refused with 97).
    int discard();

    // Driver strings: "Recover=<seconds>", "QUICKSCAN=on", "QUICKSCAN=off".
    int send(std::string_view command);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Operations on closed files by disk name (relative to the current working folder); each leaves
// its code in the error state.
bool fileExists(std::string_view name);
int removeFile(std::string_view name);
int copyFile(std::string_view from, std::string_view to);
int renameFile(std::string_view from, std::string_view to);

// The path the name resolves to: "\" becomes the separator, and an existing entry whose name
// differs only in letter case is found in its folder.
std::string resolveFileName(std::string_view name);

} // namespace platform::storage
