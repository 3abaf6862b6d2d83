#pragma once

#include "platform/ui/WindowDefinition.h"

#include <filesystem>
#include <string_view>
#include <vector>

// Window definitions live in <resource folder>/windows/<module>.json (format: see
// docs/window-definitions.md). Every definition of a file is validated when the file is read;
// a bad one throws DefinitionError naming the file and the place.
namespace platform::ui {

// The folder holding windows/ and icons/: set by the program or a test; otherwise the
// environment variable QUELB_RESOURCES, otherwise "resources" next to the executable, otherwise
// "resources" in the working folder.
std::filesystem::path resourceFolder();
void setResourceFolder(const std::filesystem::path& folder);

// module: "quelb005" or the full "quelbarto$quelb005"; label: "P1$WINDOW".
WindowDefinition loadWindowDefinition(std::string_view module, std::string_view label);

std::vector<WindowDefinition> loadDefinitionFile(const std::filesystem::path& file);

// A file name resolved case-insensitively in its folder; the name as given when none matches.
std::filesystem::path resolveNoCase(const std::filesystem::path& folder, std::string_view name);

} // namespace platform::ui
