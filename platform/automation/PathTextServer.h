#pragma once

#include <string>
#include <string_view>

namespace platform::automation {

// A server that takes whole path texts itself instead of object by object (a recording double in
// tests, a bridge to a server elsewhere). Its application object implements this as well, and the
// container hands it every text as it came.
class PathTextServer
{
public:
    virtual ~PathTextServer() = default;
    virtual std::string readPath(std::string_view path) = 0;
    virtual bool writePath(std::string_view path, std::string_view value) = 0;
};

} // namespace platform::automation
