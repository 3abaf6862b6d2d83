#pragma once

#include "platform/text/FixedString.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The file dialog and the folder chooser. Names are Windows-1251; "\" in a given name is taken
// as the folder separator. A name chosen or typed in a dialog that Windows-1251 cannot write
// is refused, with a box naming its letters, as if the dialog had been cancelled: converted,
// it would name another file. A handler can answer in place of the real dialogs (the test
// driver).
namespace platform::ui {

namespace FileOption {
constexpr unsigned Save = 1; // a save dialog (otherwise open)
constexpr unsigned KeepDirectory =
    2;                           // without it the chosen file's folder becomes the working folder
constexpr unsigned Explorer = 4; // accepted for compatibility; every dialog looks the same
} // namespace FileOption

struct FileRequest
{
    std::string title;
    std::string masks; // "description|pattern|description|pattern..."; patterns may hold ";"
    std::string fileName;
    unsigned options = 0;
    bool folder = false; // the folder chooser
};

// The chosen name as the person gave it, or nothing when they cancelled.
using FileDialogHandler = std::function<std::optional<QString>(const FileRequest&)>;
FileDialogHandler setFileDialogHandler(FileDialogHandler handler);

// Returns whether a name was chosen; fileName holds the start name and receives the choice.
bool fileDialog(std::string_view title, std::string& fileName, std::string_view masks,
                unsigned options = 0);
template <std::size_t N>
bool fileDialog(std::string_view title, text::FixedString<N>& fileName, std::string_view masks,
                unsigned options = 0)
{
    std::string name = fileName.str();
    const bool chosen = fileDialog(title, name, masks, options);
    if (chosen)
        fileName = name;
    return chosen;
}

// The folder chooser: folder holds the starting folder and receives the choice.
bool folderDialog(std::string_view title, std::string& folder);
template <std::size_t N> bool folderDialog(std::string_view title, text::FixedString<N>& folder)
{
    std::string name = folder.str();
    const bool chosen = folderDialog(title, name);
    if (chosen)
        folder = name;
    return chosen;
}

// "Text|*.txt|All|*.*" as Qt's filter list "Text (*.txt);;All (*.*)".
std::string qtFilterOf(std::string_view masks);

} // namespace platform::ui
