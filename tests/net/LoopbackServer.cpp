#include "tests/net/LoopbackServer.h"

#include "tests/support/EncodedBodies.h"
#include "tests/support/GzipSample.h"

#include <chrono>
#include <algorithm>
#include <memory>
#include <vector>

namespace nettest {
namespace {

void echo(const httplib::Request& request, httplib::Response& response)
{
    response.set_content(request.method + " " + request.target + "\n" +
                             request.get_header_value("Content-Type") + "\n" + request.body,
                         "text/plain");
}

// Sends the pattern up to cutAt bytes; past that the connection is closed.
bool sendPattern(std::size_t offset, std::size_t length, httplib::DataSink& sink, std::size_t cutAt)
{
    if (offset >= cutAt)
        return false;
    std::vector<char> chunk(std::min<std::size_t>({length, 65536, cutAt - offset}));
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = LoopbackServer::patternByte(offset + i);
    sink.write(chunk.data(), chunk.size());
    return true;
}

} // namespace

LoopbackServer::LoopbackServer()
{
    m_server.Get("/echo", echo);
    m_server.Post("/echo", echo);
    m_server.Get(R"(/status/(\d+))",
                 [](const httplib::Request& request, httplib::Response& response) {
                     response.status = std::stoi(request.matches[1]);
                     if (response.status != 204)
                         response.set_content("status", "text/plain");
                 });
    m_server.Get(R"(/bytes/(\d+))",
                 [](const httplib::Request& request, httplib::Response& response) {
                     const std::size_t total = std::stoull(request.matches[1]);
                     response.set_content_provider(
                         total, "application/octet-stream",
                         [total](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                             return sendPattern(offset, length, sink, total);
                         });
                 });
    m_server.Get("/nolength", [](const httplib::Request&, httplib::Response& response) {
        auto sent = std::make_shared<std::size_t>(0);
        response.set_chunked_content_provider(
            "text/plain", [sent](std::size_t, httplib::DataSink& sink) {
                if (*sent == 3) {
                    sink.done();
                    return true;
                }
                const std::string piece(30000, static_cast<char>('x' + *sent));
                sink.write(piece.data(), piece.size());
                ++*sent;
                return true;
            });
    });
    m_server.Get("/empty", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("", "text/plain");
    });
    m_server.Get("/cut", [](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(
            100000, "application/octet-stream",
            [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                return sendPattern(offset, length, sink, 50000);
            });
    });
    m_server.Get("/redirect", [](const httplib::Request&, httplib::Response& response) {
        response.set_redirect("/echo");
    });
    m_server.Get("/drip", [this](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider(
            "text/plain", [this](std::size_t, httplib::DataSink& sink) {
                if (m_stopping)
                    return false;
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                return sink.write("1;", 2);
            });
    });
    m_server.Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
        while (!m_stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        response.set_content("late", "text/plain");
    });
    m_server.Get("/gzip", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Encoding", "gzip");
        response.set_content(testsupport::GzipSampleEncoded, "text/plain");
    });
    m_server.Get(R"(/encoded/(gzip|deflate)/(\d+))",
                 [](const httplib::Request& request, httplib::Response& response) {
                     static const std::string plain = testsupport::priceLines(3000);
                     const std::string coding = request.matches[1];
                     response.set_header("Content-Encoding", coding);
                     // A type the server library does not compress once more.
                     response.set_content(testsupport::encodedBody(coding, plain)
                                              .substr(0, std::stoul(request.matches[2])),
                                          "application/octet-stream");
                 });

    m_port = m_server.bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
    // stop() before the loop runs would be lost and the join would hang.
    while (!m_server.is_running())
        std::this_thread::yield();
}

LoopbackServer::~LoopbackServer()
{
    m_stopping = true;
    m_server.stop();
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace nettest
