#include "tests/support/TestProxy.h"

namespace testsupport {
namespace {

std::string base64(const std::string& text)
{
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < text.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(text[i]) << 16) |
                           (static_cast<unsigned char>(text[i + 1]) << 8) |
                           static_cast<unsigned char>(text[i + 2]);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += alphabet[v & 63];
    }
    if (i + 1 == text.size()) {
        const unsigned v = static_cast<unsigned char>(text[i]) << 16;
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == text.size()) {
        const unsigned v = (static_cast<unsigned char>(text[i]) << 16) |
                           (static_cast<unsigned char>(text[i + 1]) << 8);
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += alphabet[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

} // namespace

TestProxy::TestProxy(std::string user, std::string password)
    : m_expected("Basic " + base64(user + ":" + password))
{
    const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        handle(request, response);
    };
    m_server.Get(".*", handler);
    m_server.Post(".*", handler);
    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // stop() before the loop runs would be lost and the join would hang.
    while (!m_server.is_running())
        std::this_thread::yield();
}

TestProxy::~TestProxy()
{
    m_server.stop();
    if (m_thread.joinable())
        m_thread.join();
}

void TestProxy::handle(const httplib::Request& request, httplib::Response& response)
{
    ++m_requests;
    if (request.get_header_value("Proxy-Authorization") != m_expected) {
        response.status = 407;
        response.set_header("Proxy-Authenticate", "Basic realm=\"test\"");
        response.set_content("proxy authentication required", "text/plain");
        return;
    }
    // "http://host:port/path?query"
    const std::string& target = request.target;
    const std::size_t hostStart = target.find("://");
    if (hostStart == std::string::npos) {
        response.status = 400;
        return;
    }
    const std::size_t pathStart = target.find('/', hostStart + 3);
    const std::string origin = target.substr(0, pathStart);
    const std::string path = pathStart == std::string::npos ? "/" : target.substr(pathStart);
    httplib::Client client(origin);
    const httplib::Result result =
        request.method == "POST"
            ? client.Post(path, request.body, request.get_header_value("Content-Type"))
            : client.Get(path);
    if (!result) {
        response.status = 502;
        return;
    }
    ++m_forwarded;
    response.status = result->status;
    response.set_content(result->body, result->get_header_value("Content-Type"));
}

} // namespace testsupport
