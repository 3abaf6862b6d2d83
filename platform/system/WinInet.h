#pragma once

#include <cstdint>

// The WinInet calls the HTTP client makes, synchronous and ANSI, on libcurl. Every call sets
// the thread's last-error value (LastError.h): 0 when it succeeds, a WinInet or system error
// code when it fails. See docs/wininet-layer.md for what is and is not provided.
namespace platform::system {

using DWORD = std::uint32_t;
using BOOL = int;
using INTERNET_PORT = std::uint16_t;
using DWORD_PTR = std::uintptr_t;

class WinInetHandle;
using HINTERNET = WinInetHandle*;

constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;
constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY = 4;

constexpr DWORD INTERNET_SERVICE_HTTP = 3;
constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;

constexpr DWORD HTTP_QUERY_CONTENT_TYPE = 1;
constexpr DWORD HTTP_QUERY_CONTENT_LENGTH = 5;
constexpr DWORD HTTP_QUERY_STATUS_CODE = 19;
constexpr DWORD HTTP_QUERY_STATUS_TEXT = 20;
constexpr DWORD HTTP_QUERY_FLAG_NUMBER = 0x20000000;

constexpr DWORD INTERNET_OPTION_CONNECT_TIMEOUT = 2;
constexpr DWORD INTERNET_OPTION_RECEIVE_TIMEOUT = 6;
constexpr DWORD INTERNET_OPTION_PROXY_USERNAME = 43;
constexpr DWORD INTERNET_OPTION_PROXY_PASSWORD = 44;

// The codes this layer sets.
namespace WinInetError {
constexpr DWORD InvalidHandle = 6;        // ERROR_INVALID_HANDLE
constexpr DWORD NotEnoughMemory = 8;      // ERROR_NOT_ENOUGH_MEMORY
constexpr DWORD InvalidParameter = 87;    // ERROR_INVALID_PARAMETER
constexpr DWORD InsufficientBuffer = 122; // ERROR_INSUFFICIENT_BUFFER
constexpr DWORD Timeout = 12002;
constexpr DWORD InternalError = 12004;
constexpr DWORD InvalidUrl = 12005;
constexpr DWORD UnrecognizedScheme = 12006;
constexpr DWORD NameNotResolved = 12007;
constexpr DWORD InvalidOption = 12009;
constexpr DWORD OperationCancelled = 12017;
constexpr DWORD IncorrectHandleType = 12018;
constexpr DWORD IncorrectHandleState = 12019;
constexpr DWORD CannotConnect = 12029;
constexpr DWORD ConnectionAborted = 12030;
constexpr DWORD ConnectionReset = 12031;
constexpr DWORD InvalidCa = 12045;
constexpr DWORD HeaderNotFound = 12150;
constexpr DWORD InvalidServerResponse = 12152;
constexpr DWORD InvalidHeader = 12153;
constexpr DWORD InvalidQueryRequest = 12154;
constexpr DWORD RedirectFailed = 12156;
constexpr DWORD SecurityChannelError = 12157;
constexpr DWORD ProxyServerUnreachable = 12165;
constexpr DWORD DecodingFailed = 12175; // an encoded body that did not end whole
} // namespace WinInetError

HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                        const char* proxyBypass, DWORD flags);

// No network traffic: the connection handle keeps the server, port and credentials for the
// requests made on it.
HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT serverPort,
                           const char* userName, const char* password, DWORD service, DWORD flags,
                           DWORD_PTR context);

// acceptTypes: a NULL-terminated list of texts, or NULL. No network traffic either.
HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           DWORD flags, DWORD_PTR context);

// Sends the request and waits for the status and headers of the final response (redirects
// followed); the body is left for InternetReadFile. headersLength 0xFFFFFFFF: the headers end
// with their NUL. Sending again on the same handle starts the request afresh.
BOOL HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength,
                      const void* optional, DWORD optionalLength);

// HTTP_QUERY_STATUS_CODE, HTTP_QUERY_STATUS_TEXT, HTTP_QUERY_CONTENT_LENGTH and
// HTTP_QUERY_CONTENT_TYPE, as text or (HTTP_QUERY_FLAG_NUMBER) as a DWORD. A text needs
// room for its NUL: otherwise ERROR_INSUFFICIENT_BUFFER, the buffer untouched and
// *bufferLength set to the size needed. On success *bufferLength is the text's length.
BOOL HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                    DWORD* index);

// Blocks until the buffer is full or the body has ended; *bytesRead 0 means the end.
BOOL InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead);

// The proxy user name and password (texts; length 0 means up to the NUL) and the connect and
// receive timeouts (a DWORD of milliseconds), on any handle; a request inherits them.
BOOL InternetSetOptionA(HINTERNET internet, DWORD option, const void* buffer, DWORD length);

// Closing a handle closes the handles made from it as well.
BOOL InternetCloseHandle(HINTERNET internet);

// HTTP has no extended response text: the text is empty and *error 0.
BOOL InternetGetLastResponseInfoA(DWORD* error, char* buffer, DWORD* bufferLength);

} // namespace platform::system
