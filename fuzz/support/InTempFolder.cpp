#include "fuzz/support/InTempFolder.h"

#include "fuzz/support/FuzzTempFolder.h"

#include <string>
#include <string_view>
#include <vector>

namespace fuzzsupport {

InTempFolder::InTempFolder() : m_previous(std::filesystem::current_path())
{
    std::filesystem::current_path(FuzzTempFolder::path());
}

InTempFolder::~InTempFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
}

void InTempFolder::anchorArtifacts(int* argc, char*** argv)
{
    constexpr std::string_view Flag = "-artifact_prefix=";
    for (int i = 1; i < *argc; ++i)
        if (std::string_view((*argv)[i]).substr(0, Flag.size()) == Flag)
            return;
    // The new command line lives as long as the process, as libFuzzer expects of it.
    static std::string prefix = std::string(Flag) + (std::filesystem::current_path() / "").string();
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, prefix.data());
    arguments.push_back(nullptr);
    *argc += 1;
    *argv = arguments.data();
}

} // namespace fuzzsupport
