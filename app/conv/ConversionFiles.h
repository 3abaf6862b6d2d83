#pragma once

#include "app/conv/ConversionOutcome.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/RecordFileManager.h"

#include <initializer_list>
#include <string>
#include <string_view>

// What the conversion does with files as wholes: whether the old file can be read in its old
// layout, and the swap that puts a new file in its place.
namespace app {

// Names a data file's disk file for a while, for the file and its file manager alike (the
// manager names the file again when it opens it), and gives the previous names back.
class DiskNameScope
{
public:
    DiskNameScope(platform::storage::RecordFileManager& manager, std::string name);
    ~DiskNameScope();
    DiskNameScope(const DiskNameScope&) = delete;
    DiskNameScope& operator=(const DiskNameScope&) = delete;

private:
    platform::storage::RecordFileManager& m_manager;
    std::string m_previousName;
    std::string m_previousValue;
};

// Whether the source (its disk name set) can be converted: Converted when it opens in its old
// layout; AlreadyCurrent when it opens in one of the newer layouts instead; Missing when there
// is no such file; Failed with the reason otherwise. Opens read-only and closes again.
ConversionOutcome CheckConversionSource(
    platform::storage::RecordFile& source,
    std::initializer_list<platform::storage::RecordFileManager*> newer,
                                        std::string_view what);

// "Не удалось <action> файл <name>: <error text>." plus that the old file is unchanged.
std::string FileFailure(std::string_view action, std::string_view name, std::string_view kept);

} // namespace app
