#include "platform/system/WinInetErrors.h"

#include <cerrno>

namespace platform::system {

DWORD winInetErrorOf(CURLcode code, long osErrno, bool viaProxy)
{
    namespace E = WinInetError;
    switch (code) {
    case CURLE_OK:
        return 0;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return E::UnrecognizedScheme;
    case CURLE_URL_MALFORMAT:
        return E::InvalidUrl;
    case CURLE_COULDNT_RESOLVE_PROXY:
        return E::ProxyServerUnreachable;
    case CURLE_COULDNT_RESOLVE_HOST:
        return E::NameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return viaProxy ? E::ProxyServerUnreachable : E::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return E::Timeout;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
    case CURLE_BAD_CONTENT_ENCODING:
        return E::InvalidServerResponse;
    case CURLE_PARTIAL_FILE:
        return E::ConnectionAborted;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return osErrno == ECONNRESET ? E::ConnectionReset : E::ConnectionAborted;
    case CURLE_TOO_MANY_REDIRECTS:
        return E::RedirectFailed;
    case CURLE_ABORTED_BY_CALLBACK:
        return E::OperationCancelled;
    case CURLE_OUT_OF_MEMORY:
        return E::NotEnoughMemory;
    case CURLE_PEER_FAILED_VERIFICATION:
        return E::InvalidCa;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return E::SecurityChannelError;
    default:
        return E::InternalError;
    }
}

} // namespace platform::system
