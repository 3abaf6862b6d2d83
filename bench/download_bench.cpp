// Download rate of a 100 MB body from a loopback server into a file: the HTTP client's Load
// against `curl -o` of the same body from the same server in the same run.
#include "net/HttpClient.h"

#include "platform/system/WinInet.h"
#include "platform/ui/MessageBox.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t BodySize = 100u * 1000 * 1000;

class BodyServer
{
public:
    BodyServer() : m_pattern(1 << 20)
    {
        for (std::size_t i = 0; i < m_pattern.size(); ++i)
            m_pattern[i] = static_cast<char>('a' + i % 23);
        m_server.Get("/body", [this](const httplib::Request&, httplib::Response& response) {
            response.set_content_provider(
                BodySize, "application/octet-stream",
                [this](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    const std::size_t at = offset % m_pattern.size();
                    sink.write(m_pattern.data() + at, std::min(length, m_pattern.size() - at));
                    return true;
                });
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~BodyServer()
    {
        m_server.stop();
        m_thread.join();
    }
    int port() const { return m_port; }

private:
    std::vector<char> m_pattern;
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};

BodyServer& server()
{
    static BodyServer instance;
    return instance;
}

std::filesystem::path target()
{
    return std::filesystem::temp_directory_path() /
           ("download_bench-" + std::to_string(::getpid()) + ".bin");
}

double g_clientRate = 0;
double g_curlRate = 0;

bool downloaded(benchmark::State& state)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(target(), ec);
    std::filesystem::remove(target(), ec);
    if (size != BodySize) {
        state.SkipWithError("the file does not hold the whole body");
        return false;
    }
    return true;
}

void setRate(benchmark::State& state, double seconds, double& rate)
{
    rate = static_cast<double>(BodySize) * static_cast<double>(state.iterations()) / seconds / 1e6;
    state.counters["MB/s"] = rate;
}

void DownloadIntoFile(benchmark::State& state)
{
    std::string failure;
    platform::ui::setMessageHandler([&](const platform::ui::MessageRequest& request) {
        failure = request.text;
        return platform::ui::Button::Ok;
    });
    const int port = server().port();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        net::HttpClient client;
        client.Init();
        const int connected = client.Connect("127.0.0.1", static_cast<std::uint16_t>(port),
                                             platform::system::INTERNET_OPEN_TYPE_DIRECT);
        const int loaded = connected ? connected : client.Load("/body", target().string());
        client.Close();
        client.Kill();
        const auto end = std::chrono::steady_clock::now();
        seconds += std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (loaded != 0) {
            state.SkipWithError(("download failed: " + failure).c_str());
            break;
        }
        if (!downloaded(state))
            break;
    }
    platform::ui::setMessageHandler({});
    setRate(state, seconds, g_clientRate);
}

void CurlDownloadIntoFile(benchmark::State& state)
{
    const std::string command = "curl -s -f -o '" + target().string() +
                                "' http://127.0.0.1:" + std::to_string(server().port()) + "/body";
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto end = std::chrono::steady_clock::now();
        seconds += std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (status != 0) {
            state.SkipWithError("curl failed");
            break;
        }
        if (!downloaded(state))
            break;
    }
    setRate(state, seconds, g_curlRate);
}

// The client's rate as a percentage of curl's (the goal is at least 80).
void DownloadRateToCurl(benchmark::State& state)
{
    for (auto _ : state) {
    }
    if (g_clientRate > 0 && g_curlRate > 0)
        state.counters["percent/curl"] = g_clientRate / g_curlRate * 100.0;
    else
        state.SkipWithError("a download did not run");
}

} // namespace

BENCHMARK(CurlDownloadIntoFile)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DownloadIntoFile)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DownloadRateToCurl)->Iterations(1);
