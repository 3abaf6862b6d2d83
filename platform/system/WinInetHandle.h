#pragma once

#include "platform/system/WinInet.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::system {

class WinInetTransfer;

// One handle of the layer: a session (InternetOpenA), a connection (InternetConnectA) or a
// request (HttpOpenRequestA). Handles live in a registry so that a stale or foreign handle is
// refused with ERROR_INVALID_HANDLE instead of being followed.
class WinInetHandle
{
public:
    enum class Kind { Session, Connection, Request };

    explicit WinInetHandle(Kind kind, WinInetHandle* parent = nullptr);
    ~WinInetHandle();
    WinInetHandle(const WinInetHandle&) = delete;
    WinInetHandle& operator=(const WinInetHandle&) = delete;

    // Registry: make, find (nullptr when not a live handle of that kind) and close (with the
    // handles made from it).
    static WinInetHandle* make(Kind kind, WinInetHandle* parent);
    static WinInetHandle* find(HINTERNET handle);
    static WinInetHandle* find(HINTERNET handle, Kind kind);
    static bool close(HINTERNET handle);

    Kind kind() const { return m_kind; }
    WinInetHandle* parent() const { return m_parent; }
    const WinInetHandle* session() const;
    const WinInetHandle* connection() const;

    // Options set on this handle or, when not set here, on the handle it was made from.
    std::string proxyUserName() const;
    std::string proxyPassword() const;
    long connectTimeoutMs() const;
    long receiveTimeoutMs() const;

    std::optional<std::string> m_proxyUserName;
    std::optional<std::string> m_proxyPassword;
    std::optional<long> m_connectTimeoutMs;
    std::optional<long> m_receiveTimeoutMs;

    // Session.
    std::string m_agent;
    DWORD m_accessType = INTERNET_OPEN_TYPE_DIRECT;
    std::string m_proxy;
    std::string m_proxyBypass;

    // Connection.
    std::string m_serverName;
    INTERNET_PORT m_serverPort = 0;
    std::string m_userName;
    std::string m_password;

    // Request.
    std::string m_verb;
    std::string m_objectName;
    std::string m_version;
    std::string m_referrer;
    std::vector<std::string> m_acceptTypes;
    DWORD m_flags = 0;
    std::unique_ptr<WinInetTransfer> m_transfer;
    DWORD m_sendError = 0; // the failure of the last send, repeated by the reads

private:
    Kind m_kind;
    WinInetHandle* m_parent;
};

} // namespace platform::system
