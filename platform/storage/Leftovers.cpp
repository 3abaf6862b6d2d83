#include "platform/storage/Leftovers.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <string_view>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::storage {

namespace {

constexpr std::string_view Marker = ".new-";

// The process id a name of that naming carries, or 0.
pid_t writerOf(std::string_view name)
{
    const std::size_t at = name.rfind(Marker);
    if (at == std::string_view::npos || at == 0)
        return 0;
    std::string_view rest = name.substr(at + Marker.size());
    constexpr std::string_view Journal = "-journal"; // SQLite's, beside a data file being made
    if (rest.size() > Journal.size() && rest.ends_with(Journal))
        rest.remove_suffix(Journal.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || end != rest.data() + rest.size() || pid <= 0)
        return 0;
    return pid;
}

bool runs(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

} // namespace

std::string temporaryBeside(const std::string& target)
{
    return target + std::string(Marker) + std::to_string(::getpid());
}

void removeLeftovers(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : fs::path(folder), error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path& path = entries->path();
        const pid_t pid = writerOf(path.filename().native());
        // This process's own are being written (or were left by an earlier process of the
        // same id, and are replaced by the writer).
        if (pid == 0 || pid == ::getpid() || runs(pid))
            continue;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
}

} // namespace platform::storage
