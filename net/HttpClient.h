#pragma once

#include "net/HttpParameterList.h"

#include "platform/system/WinInet.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// The HTTP client: one object serves one connection to one server. Calling order: create,
// Init, optionally SetProxy, Connect, any number of Request / Load, Close, Kill. Texts are
// Windows-1251. Results are 0 on success, an HTTP status after an HTTP failure, or a system or
// WinInet error code; failures are shown through ShowMessage and described in ErrorText().
class HttpClient
{
public:
    // How a progress control of the current window is moved while a body is read: the window
    // services set the control's Progress value, redisplay it and yield to the runtime.
    using ProgressUpdater = std::function<void(std::int32_t control, double progress)>;
    static ProgressUpdater setProgressUpdater(ProgressUpdater updater);

    HttpClient();
    virtual ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    void Init();
    void Kill();
    void SetProxy(std::string_view host, std::int32_t port,
                  std::optional<std::string_view> user = std::nullopt,
                  std::optional<std::string_view> password = std::nullopt);
    std::int32_t Connect(std::string_view server, std::uint16_t port, std::uint32_t accessType);
    // A blank target file name reads the body into RESPONSE.
    std::int32_t Request(std::string_view verb, std::string_view path, std::string_view targetFile);
    std::int32_t Load(std::string_view path, std::string_view targetFile);
    std::int32_t Close();
    bool ProxyAuthResend();
    void CaptureError(std::string_view prefix, bool noPrefix);
    std::string LastResponseText();
    std::string ErrorText() const { return m_error; }
    // Level 1 or more: a modal box with the text, caption "Ошибка" and the information icon;
    // level 0 or less: nothing. Every message of the client passes here.
    virtual std::int32_t ShowMessage(std::string_view text, std::int32_t level);
    void LoadErrorTexts();

    // Members the callers read or set.
    std::int32_t errorCode() const { return m_errorCode; }
    std::int32_t httpStatus() const { return m_httpStatus; }
    const std::string& httpError() const { return m_httpError; }
    const std::string& apiError() const { return m_apiError; }
    const std::string& inetError() const { return m_inetError; }
    bool hasResponse() const { return m_response.has_value(); }
    std::string_view response() const
    {
        return m_response ? std::string_view(*m_response) : std::string_view();
    }
    HttpParameterList* dataList() { return m_dataList.get(); }
    std::int32_t progressControl() const { return m_progressControl; }
    // Of the last successful request: the Content-Type and Content-Length headers as the
    // server sent them (empty when absent).
    const std::string& contentType() const { return m_contentType; }
    const std::string& contentLength() const { return m_contentLength; }
    void setProgressControl(std::int32_t control) { m_progressControl = control; }

    const std::string& agent() const { return m_szAgent; }
    const std::string& proxy() const { return m_szProxy; }
    const std::string& proxyUserName() const { return m_szProxyUserName; }
    const std::string& proxyPassword() const { return m_szProxyPassword; }
    const std::string& serverName() const { return m_szServerName; }
    std::uint16_t serverPort() const { return m_nServerPort; }
    bool isConnected() const { return m_hSession != nullptr; }

private:
    static ProgressUpdater& progressUpdater();
    void releaseResources();
    std::string textOfCode(std::int32_t code) const;
    std::string readFailureMessage() const;
    std::int32_t failTargetFile(std::string_view what, std::string_view message, int code,
                                std::string_view name);

    platform::system::HINTERNET m_hInternet = nullptr;
    platform::system::HINTERNET m_hSession = nullptr;
    platform::system::HINTERNET m_hRequest = nullptr;
    std::unique_ptr<HttpParameterList> m_dataList;
    std::string m_szAgent;
    std::uint32_t m_dwAccessType = 0;
    std::string m_szProxy;
    std::string m_szProxyBypass;
    std::uint32_t m_dwFlags = 0;
    std::string m_szServerName;
    std::uint16_t m_nServerPort = 0;
    std::string m_szUserName;
    std::string m_szPassword;
    std::string m_szProxyUserName;
    std::string m_szProxyPassword;
    std::uint16_t m_nProxyPort = 0;
    std::uint32_t m_dwContext = 0;
    std::string m_szDirectory;
    std::int32_t m_retCode = 0;
    std::int32_t m_errorCode = 0;
    std::int32_t m_httpStatus = 0;
    std::string m_apiError;
    std::string m_inetError;
    std::string m_httpError;
    std::string m_error;
    std::optional<std::string> m_response;
    std::int32_t m_progressControl = 0;
    std::string m_contentType;
    std::string m_contentLength;
};

} // namespace net
