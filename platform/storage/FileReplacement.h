#pragma once

#include <string>
#include <string_view>

// Writes a file so that the previous one survives any failure: the new content goes to a
// temporary file beside the target, which replaces the target by a rename only once it is
// complete and on the disk. A full disk, an error or a killed process leaves the old file as it
// was (and at worst a stray temporary file, never a half-written target).
namespace platform::storage {

class FileReplacement
{
public:
    // The target by disk name (resolved as every disk name is).
    explicit FileReplacement(std::string_view diskName);
    ~FileReplacement(); // an uncommitted temporary file is removed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Where to write the new content (a system path).
    const std::string& temporaryName() const { return m_temporary; }
    const std::string& targetName() const { return m_target; }

    // The temporary file, written and closed, goes to the disk and takes the target's place,
    // keeping the target's permissions. 0 or the storage code (the target then unchanged).
    int commit();
    // Drops the temporary file; the target stays as it was.
    void abandon();

private:
    std::string m_target;
    std::string m_temporary;
    bool m_done = false;
};

} // namespace platform::storage
