#include "platform/storage/ErrorState.h"

#include "platform/storage/LogicalThread.h"

#include <map>

namespace platform::storage {

namespace {

struct ThreadError
{
    int code = Error::None;
    std::string file;
};

std::map<int, ThreadError>& errors()
{
    static std::map<int, ThreadError> all;
    // A thread's error state goes with the thread.
    static const int listener = addThreadEndListener([](int thread) { all.erase(thread); });
    (void)listener;
    return all;
}

std::map<int, std::string>& texts()
{
    static std::map<int, std::string> all;
    return all;
}

const ThreadError* currentError()
{
    const auto& all = errors();
    const auto it = all.find(currentThread());
    return it == all.end() ? nullptr : &it->second;
}

} // namespace

int errorCode()
{
    const ThreadError* error = currentError();
    return error ? error->code : Error::None;
}

std::string errorFile()
{
    const ThreadError* error = currentError();
    return error ? error->file : std::string();
}

std::string errorText() { return errorTextOf(errorCode()); }

void setError(int code, std::string_view file)
{
    ThreadError& error = errors()[currentThread()];
    error.code = code;
    error.file = code == Error::None ? std::string() : std::string(file);
}

void clearError() { setError(Error::None); }

std::string errorTextOf(int code)
{
    const auto& all = texts();
    const auto it = all.find(code);
    if (it != all.end())
        return it->second;
    return "Error " + std::to_string(code);
}

void setErrorText(int code, std::string_view text) { texts()[code] = std::string(text); }

} // namespace platform::storage
