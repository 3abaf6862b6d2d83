#include "net/HttpClient.h"
#include "net/HttpParameterList.h"

#include "platform/storage/ErrorState.h"
#include "platform/system/LastError.h"
#include "platform/system/WinInet.h"
#include "platform/system/WinInetWaiting.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include "tests/net/LoopbackServer.h"
#include "tests/support/TestProxy.h"
#include "tests/support/EncodedBodies.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/GzipSample.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using net::HttpClient;
using platform::text::w;
namespace inet = platform::system;

namespace {

struct ShownMessage
{
    std::string text;
    std::int32_t level;
};

// Records every message, including the level-0 ones the base class does not show.
class RecordingClient : public HttpClient
{
public:
    std::int32_t ShowMessage(std::string_view text, std::int32_t level) override
    {
        m_messages.push_back({std::string(text), level});
        return HttpClient::ShowMessage(text, level);
    }
    std::vector<ShownMessage> m_messages;
};

class HttpClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = platform::ui::setMessageHandler([this](const platform::ui::MessageRequest& r) {
            m_boxes.push_back(r);
            return platform::ui::Button::Ok;
        });
        m_client.Init();
    }
    void TearDown() override
    {
        m_client.Kill();
        platform::ui::setMessageHandler(m_previous);
    }

    int connect()
    {
        return m_client.Connect("127.0.0.1", static_cast<std::uint16_t>(m_server.port()),
                                inet::INTERNET_OPEN_TYPE_DIRECT);
    }

    void addParameter(const std::string& id, const std::string& value)
    {
        net::HttpParameterList& list = *m_client.dataList();
        list.buffer().id = id;
        list.buffer().setValue(value);
        list.append();
    }

    std::vector<std::string> boxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : m_boxes)
            texts.push_back(box.text);
        return texts;
    }

    testsupport::TempWorkFolder m_folder;
    nettest::LoopbackServer m_server;
    RecordingClient m_client;
    std::vector<platform::ui::MessageRequest> m_boxes;
    platform::ui::MessageHandler m_previous;
};

TEST_F(HttpClientTest, InitClearsTheDeclaredValues)
{
    HttpClient fresh;
    EXPECT_EQ(fresh.agent(), "MyProgram");
    EXPECT_EQ(fresh.serverName(), "Localhost");
    fresh.Init();
    EXPECT_EQ(fresh.agent(), "");
    EXPECT_EQ(fresh.serverName(), "localhost");
    EXPECT_EQ(fresh.serverPort(), 80);
    EXPECT_NE(fresh.dataList(), nullptr);
    EXPECT_FALSE(fresh.hasResponse());
    fresh.Kill();
    EXPECT_EQ(fresh.dataList(), nullptr);
}

TEST_F(HttpClientTest, SetProxyJoinsHostAndPortUnlessTheHostHoldsAColon)
{
    m_client.SetProxy("proxy.local   ", 3128);
    EXPECT_EQ(m_client.proxy(), "proxy.local:3128");
    m_client.SetProxy("proxy.local:8080  ", 3128);
    EXPECT_EQ(m_client.proxy(), "proxy.local:8080");
    m_client.SetProxy("10.0.0.1", -1);
    EXPECT_EQ(m_client.proxy(), "10.0.0.1:-1");
    // Typed as an address: the scheme's colon is no port, and a path is dropped.
    m_client.SetProxy("http://proxy.local  ", 3128);
    EXPECT_EQ(m_client.proxy(), "proxy.local:3128");
    m_client.SetProxy("HTTP://proxy.local:8080/", 3128);
    EXPECT_EQ(m_client.proxy(), "proxy.local:8080");

    // User and password are kept as given; an omitted one stays as it was.
    m_client.SetProxy("p", 1, std::string_view("user  "), std::string_view("secret  "));
    EXPECT_EQ(m_client.proxyUserName(), "user  ");
    EXPECT_EQ(m_client.proxyPassword(), "secret  ");
    m_client.SetProxy("p", 1, std::string_view("other"));
    EXPECT_EQ(m_client.proxyUserName(), "other");
    EXPECT_EQ(m_client.proxyPassword(), "secret  ");
}

TEST_F(HttpClientTest, GetSendsTheParametersAsAQueryOnlyWhenThereAreAny)
{
    ASSERT_EQ(connect(), 0);
    EXPECT_EQ(m_client.Request("get  ", "/echo   ", ""), 0);
    ASSERT_TRUE(m_client.hasResponse());
    EXPECT_EQ(m_client.response(), "GET /echo\n\n");

    addParameter("a", "1");
    addParameter("b", "2");
    EXPECT_EQ(m_client.Request("GET", "/echo", ""), 0);
    EXPECT_EQ(m_client.response(), "GET /echo?a=1&b=2\n\n");
    EXPECT_EQ(m_client.httpStatus(), 200);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(HttpClientTest, PostSendsTheParametersAsAFormBody)
{
    ASSERT_EQ(connect(), 0);
    addParameter("a", "1");
    addParameter("b", "2");
    EXPECT_EQ(m_client.Request("POST", "/echo", ""), 0);
    EXPECT_EQ(m_client.response(), "POST /echo\napplication/x-www-form-urlencoded\na=1&b=2");
}

TEST_F(HttpClientTest, LoadSendsAGetOfThePathAloneIntoTheFile)
{
    ASSERT_EQ(connect(), 0);
    addParameter("a", "1");
    const auto target = m_folder.file("out.txt");
    EXPECT_EQ(m_client.Load("/echo", target.string()), 0);
    EXPECT_EQ(testsupport::readFileBytes(target), "GET /echo\n\n");
    EXPECT_FALSE(m_client.hasResponse());
}

TEST_F(HttpClientTest, SuccessStatusesAndRedirects)
{
    ASSERT_EQ(connect(), 0);
    for (const int status : {200, 204, 210}) {
        EXPECT_EQ(m_client.Request("GET", "/status/" + std::to_string(status), ""), 0) << status;
        EXPECT_EQ(m_client.httpStatus(), status);
    }
    EXPECT_EQ(m_client.Request("GET", "/redirect", ""), 0);
    EXPECT_EQ(m_client.response(), "GET /echo\n\n");
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(HttpClientTest, FailedStatusesShowTheirTextAndReturnTheStatus)
{
    ASSERT_EQ(connect(), 0);
    const std::vector<std::pair<int, std::string>> cases = {
        {211, "Ошибка доступа. Код 211"},
        {226, "Ошибка доступа. Код 226"},
        {400, "400 не удаётся найти страницу"},
        {403, "403 страница не может быть отображена"},
        {404, "404 не удаётся найти страницу"},
        {405, "405 не удаётся найти страницу-неверный адрес"},
        {406, "406 не удаётся найти страницу-нет доступа"},
        {500, "500 проблемы с WWW-сервером"},
    };
    for (const auto& [status, text] : cases) {
        m_boxes.clear();
        EXPECT_EQ(m_client.Request("GET", "/status/" + std::to_string(status), ""), status);
        EXPECT_EQ(m_client.httpStatus(), status);
        EXPECT_EQ(m_client.errorCode(), status);
        EXPECT_EQ(m_client.ErrorText(),
                  std::to_string(status)); // the code as sent, not the text shown
        ASSERT_EQ(m_boxes.size(), 1u) << status;
        EXPECT_EQ(m_boxes[0].text, w(text));
        EXPECT_EQ(m_boxes[0].caption, w("Ошибка"));
        EXPECT_EQ(m_boxes[0].icon, platform::ui::MessageIcon::Information);
        EXPECT_FALSE(m_client.hasResponse());
    }
}

TEST_F(HttpClientTest, AFailedStatusLeavesAnExistingTargetUntouched)
{
    ASSERT_EQ(connect(), 0);
    const auto target = m_folder.file("quelbit.txt");
    testsupport::writeFileBytes(target, "old price list");
    EXPECT_EQ(m_client.Load("/status/404", target.string()), 404);
    EXPECT_EQ(testsupport::readFileBytes(target), "old price list");
}

TEST_F(HttpClientTest, BodiesWithoutLengthAndEmptyBodies)
{
    std::vector<double> progress;
    HttpClient::setProgressUpdater([&](std::int32_t, double value) { progress.push_back(value); });
    m_client.setProgressControl(7);
    ASSERT_EQ(connect(), 0);

    const auto target = m_folder.file("chunked.bin");
    EXPECT_EQ(m_client.Load("/nolength", target.string()), 0);
    EXPECT_EQ(testsupport::readFileBytes(target),
              std::string(30000, 'x') + std::string(30000, 'y') + std::string(30000, 'z'));
    EXPECT_TRUE(progress.empty()); // no length: the control never moves

    const auto empty = m_folder.file("empty.txt");
    testsupport::writeFileBytes(empty, "earlier contents");
    EXPECT_EQ(m_client.Load("/empty", empty.string()), 0);
    EXPECT_TRUE(std::filesystem::exists(empty));
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);

    EXPECT_EQ(m_client.Request("GET", "/empty", ""), 0);
    EXPECT_TRUE(m_client.hasResponse());
    EXPECT_EQ(m_client.response(), "");

    HttpClient::setProgressUpdater({});
}

TEST_F(HttpClientTest, ProgressMovesOncePerChunkUpToAHundred)
{
    std::vector<std::pair<std::int32_t, double>> progress;
    HttpClient::setProgressUpdater(
        [&](std::int32_t control, double value) { progress.emplace_back(control, value); });
    m_client.setProgressControl(12);
    ASSERT_EQ(connect(), 0);
    EXPECT_EQ(m_client.Load("/bytes/100000", m_folder.file("p.bin").string()), 0);
    ASSERT_EQ(progress.size(), 3u); // 40000 + 40000 + 20000
    EXPECT_EQ(progress[0].first, 12);
    EXPECT_DOUBLE_EQ(progress[0].second, 40.0);
    EXPECT_DOUBLE_EQ(progress[1].second, 80.0);
    EXPECT_DOUBLE_EQ(progress[2].second, 100.0);
    HttpClient::setProgressUpdater({});
}

// The previous file is the user's last good one: a failed download never touches it, and
// leaves nothing of its own behind.
TEST_F(HttpClientTest, AConnectionCutInTheBodyKeepsThePreviousFileAndLeavesNoPart)
{
    ASSERT_EQ(connect(), 0);
    const auto target = m_folder.file("quelbit.txt");
    testsupport::writeFileBytes(target, "old price list");
    // A connection closed before the announced length, and encoded bodies whose announced
    // length was met but whose stream did not end.
    const std::string plain = testsupport::priceLines(3000);
    std::vector<std::pair<std::string, std::vector<int>>> cases{{"/cut", {12030, 12031}}};
    for (const char* coding : {"gzip", "deflate"}) {
        const std::string encoded = testsupport::encodedBody(coding, plain);
        for (const auto& point : testsupport::cutPoints(coding, encoded))
            cases.push_back({"/encoded/" + std::string(coding) + "/" + std::to_string(point.length),
                             {12175}});
    }
    for (const auto& [path, codes] : cases) {
        m_boxes.clear();
        const int result = m_client.Load(path, target.string());
        EXPECT_NE(std::find(codes.begin(), codes.end(), result), codes.end()) << path << " " << result;
        EXPECT_EQ(testsupport::readFileBytes(target), "old price list") << path;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << path;
        EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Ошибка считывания данных")}) << path;
        EXPECT_EQ(m_client.ErrorText().rfind(w("Чтение данных") + " ", 0), 0u) << path;

        // Into memory: the partial body is dropped.
        EXPECT_NE(m_client.Request("GET", path, ""), 0) << path;
        EXPECT_FALSE(m_client.hasResponse()) << path;
    }
}

TEST_F(HttpClientTest, APortWithNothingListeningFailsTheLoad)
{
    int closedPort = 0;
    {
        nettest::LoopbackServer gone;
        closedPort = gone.port();
    }
    // Connecting makes no network traffic; the failure comes with the request.
    ASSERT_EQ(m_client.Connect("127.0.0.1", static_cast<std::uint16_t>(closedPort),
                               inet::INTERNET_OPEN_TYPE_DIRECT),
              0);
    const auto target = m_folder.file("quelbit.txt");
    EXPECT_EQ(m_client.Load("/x", target.string()), 12029);
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(m_client.ErrorText(), w("Чтение данных") + " CANNOT CONNECT ");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Соединение отклонено: сервер 127.0.0.1:") +
                                                   std::to_string(closedPort) +
                                                   w(" не отвечает по этому адресу и порту")});
}

TEST_F(HttpClientTest, ConnectFailuresAreShownWithoutPrefix)
{
    EXPECT_EQ(m_client.Connect("127.0.0.1", 80, 2), 87); // no such access type
    EXPECT_EQ(m_client.ErrorText(), "INVALID PARAMETER ");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Не установлено соединение с Интернет")});

    m_boxes.clear();
    EXPECT_EQ(m_client.Connect("   ", 80, inet::INTERNET_OPEN_TYPE_DIRECT), 87); // no server name
    EXPECT_FALSE(m_client.isConnected());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Не открыта сессия INVALID PARAMETER ")});
}

TEST_F(HttpClientTest, ARequestWithoutAConnectionFailsAtTheOpenStep)
{
    EXPECT_EQ(m_client.Request("GET", "/echo", ""), 6);
    EXPECT_EQ(m_client.httpStatus(), 0);
    EXPECT_EQ(m_client.ErrorText(), w("Соединение с Интернет Неверный указатель "));
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{
                  w("Ошибка соединения с Интернет:Соединение с Интернет Неверный указатель ")});
}

TEST_F(HttpClientTest, ProxyAuthentication)
{
    testsupport::TestProxy proxy("ivan", "secret");
    const auto viaProxy = [&](RecordingClient& client) {
        return client.Connect("127.0.0.1", static_cast<std::uint16_t>(m_server.port()),
                              inet::INTERNET_OPEN_TYPE_PROXY);
    };

    // The right user, given as the settings pass it: padded to the field width.
    m_client.SetProxy("127.0.0.1", proxy.port(), std::string_view("ivan                          "),
                      std::string_view("secret                        "));
    ASSERT_EQ(viaProxy(m_client), 0);
    EXPECT_EQ(m_client.Request("GET", "/echo", ""), 0);
    EXPECT_EQ(m_client.response().substr(0, 9), "GET /echo");
    EXPECT_EQ(proxy.forwarded(), 1);
    EXPECT_TRUE(m_boxes.empty());

    // A wrong password: refused after the one retry.
    RecordingClient wrong;
    wrong.Init();
    wrong.SetProxy("127.0.0.1", proxy.port(), std::string_view("ivan"), std::string_view("guess"));
    ASSERT_EQ(viaProxy(wrong), 0);
    EXPECT_EQ(wrong.Request("GET", "/echo", ""), 407);
    EXPECT_EQ(wrong.httpStatus(), 0);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Неудачная аутентификация прокси")});
    wrong.Kill();

    // No user stored: only a resend, refused as well.
    m_boxes.clear();
    RecordingClient anonymous;
    anonymous.Init();
    anonymous.SetProxy("127.0.0.1", proxy.port());
    ASSERT_EQ(viaProxy(anonymous), 0);
    const int before = proxy.requests();
    EXPECT_EQ(anonymous.Load("/echo", m_folder.file("never.txt").string()), 407);
    EXPECT_EQ(proxy.requests() - before, 2);
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("never.txt")));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Неудачная аутентификация прокси")});
    anonymous.Kill();
}

TEST_F(HttpClientTest, AnUnreachableProxyIsReported)
{
    int closedPort = 0;
    {
        nettest::LoopbackServer gone;
        closedPort = gone.port();
    }
    m_client.SetProxy("127.0.0.1", closedPort);
    ASSERT_EQ(m_client.Connect("127.0.0.1", static_cast<std::uint16_t>(m_server.port()),
                               inet::INTERNET_OPEN_TYPE_PROXY),
              0);
    EXPECT_EQ(m_client.Load("/echo", m_folder.file("x.txt").string()), 12165);
    EXPECT_EQ(m_client.ErrorText(), w("Чтение данных") + " PROXY SERVER UNREACHABLE ");
    EXPECT_EQ(boxTexts(), std::vector<std::string>{
                              w("Прокси-сервер 127.0.0.1:") + std::to_string(closedPort) +
                              w(" недоступен: он не отвечает или его имя не найдено")});
}

TEST_F(HttpClientTest, CloseShowsTheSessionEndOnlyAtLevelZero)
{
    RecordingClient client;
    client.Init();
    EXPECT_EQ(client.Close(), 0);
    EXPECT_TRUE(client.m_messages.empty()); // never connected: nothing at all

    ASSERT_EQ(client.Connect("127.0.0.1", static_cast<std::uint16_t>(m_server.port()),
                             inet::INTERNET_OPEN_TYPE_DIRECT),
              0);
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.Close(), 0);
    EXPECT_FALSE(client.isConnected());
    ASSERT_EQ(client.m_messages.size(), 1u);
    EXPECT_EQ(client.m_messages[0].text, w("Завершение сессии"));
    EXPECT_EQ(client.m_messages[0].level, 0);
    EXPECT_TRUE(m_boxes.empty());
    client.Kill();
}

TEST_F(HttpClientTest, ConnectAgainReplacesTheConnection)
{
    ASSERT_EQ(connect(), 0);
    ASSERT_EQ(connect(), 0);
    EXPECT_EQ(m_client.Request("GET", "/echo", ""), 0);
    EXPECT_EQ(m_client.m_messages.size(), 1u); // the session end of the first connection
}

TEST_F(HttpClientTest, KillFreesTheResponseAndTheParameters)
{
    ASSERT_EQ(connect(), 0);
    addParameter("a", std::string(1000, 'v'));
    ASSERT_EQ(m_client.Request("GET", "/echo", ""), 0);
    EXPECT_TRUE(m_client.hasResponse());
    m_client.Kill();
    EXPECT_FALSE(m_client.hasResponse());
    EXPECT_EQ(m_client.dataList(), nullptr);
    EXPECT_FALSE(m_client.isConnected());
    m_client.Init(); // TearDown kills again
}

TEST_F(HttpClientTest, ATargetThatCannotBeCreatedOrWrittenFailsTheLoadWithItsReason)
{
    // The runtime's texts of the codes, as the program sets them at its start.
    platform::storage::setErrorText(3, w("Путь не найден"));
    platform::storage::setErrorText(39, w("Нет места на диске"));
    ASSERT_EQ(connect(), 0);
    const auto target = m_folder.file("missing-folder") / "quelbit.txt";
    const int result = m_client.Load("/echo", target.string());
    EXPECT_EQ(result, 3);
    EXPECT_EQ(m_client.ErrorText(), w("Создание файла Путь не найден"));
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Ошибка создания файла ") + target.string() +
                                                   w(": Путь не найден (3)")});

    // A body past the file-size limit is a full disk, and says so.
    m_boxes.clear();
    const auto written = m_folder.file("quelbit.txt");
    int code = 0;
    {
        testsupport::FileSizeLimit limit(100000);
        code = m_client.Load("/bytes/300000", written.string());
    }
    EXPECT_EQ(code, 39);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{w("Ошибка записи файла ") + written.string() +
                                                   w(": Нет места на диске (39)")});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              0);
}

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(HttpClientTest, ALargeBodyGoesToTheFileWithoutBeingHeldInMemory)
{
    constexpr std::size_t size = 48u * 1024 * 1024;
    ASSERT_EQ(connect(), 0);
    const long before = peakResidentKb();
    const auto target = m_folder.file("large.bin");
    ASSERT_EQ(m_client.Load("/bytes/" + std::to_string(size), target.string()), 0);
    [[maybe_unused]] const long grown = peakResidentKb() - before;
#ifndef __SANITIZE_ADDRESS__ // the sanitizer keeps freed memory in quarantine
    EXPECT_LT(grown, 16 * 1024) << "peak memory grew by " << grown << " kB";
#endif

    ASSERT_EQ(std::filesystem::file_size(target), size);
    std::ifstream in(target, std::ios::binary);
    std::vector<char> chunk(1 << 20);
    std::size_t offset = 0;
    bool same = true;
    while (in && same) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        for (std::streamsize i = 0; i < in.gcount(); ++i, ++offset)
            if (chunk[static_cast<std::size_t>(i)] !=
                nettest::LoopbackServer::patternByte(offset)) {
                same = false;
                break;
            }
    }
    EXPECT_TRUE(same) << "first difference at " << offset;
}

} // namespace

namespace {

// Downloads that make no progress, and the caller's wait: the timeout is shortened so that
// the cases run in seconds; the program's own is 30 seconds.
class HttpClientWaitTest : public HttpClientTest
{
protected:
    void SetUp() override
    {
        HttpClientTest::SetUp();
        inet::setDefaultTimeoutMs(1000);
        testsupport::writeFileBytes(target(), "last good list");
    }
    void TearDown() override
    {
        inet::setWaitHook({});
        inet::setDefaultTimeoutMs(0);
        HttpClientTest::TearDown();
    }
    std::filesystem::path target() const { return m_folder.file("quelbit.txt"); }
    static double secondsSince(std::chrono::steady_clock::time_point start)
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

TEST_F(HttpClientWaitTest, ASilentOrDrippingServerEndsAsATimeoutAndTheFileStays)
{
    for (const char* path : {"/silent", "/drip"}) {
        m_boxes.clear();
        ASSERT_EQ(connect(), 0);
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(m_client.Load(path, target().string()), 12002) << path;
        EXPECT_LT(secondsSince(started), 3.5) << path;
        EXPECT_EQ(boxTexts(), std::vector<std::string>{
                                  w("Превышено время ожидания: сервер не передаёт данные")})
            << path;
        EXPECT_EQ(m_client.ErrorText(), w("Чтение данных") + " TIMEOUT ") << path;
        EXPECT_EQ(testsupport::readFileBytes(target()), "last good list") << path;
        m_client.Close();
    }
}

TEST_F(HttpClientWaitTest, TheCallerKeepsRunningWhileItWaitsAndCanCancel)
{
    ASSERT_EQ(connect(), 0);
    int hookRuns = 0;
    std::chrono::steady_clock::time_point cancelled;
    inet::setWaitHook([&] {
        if (++hookRuns == 25) {
            cancelled = std::chrono::steady_clock::now();
            inet::cancelWaitingCalls();
        }
    });
    inet::setDefaultTimeoutMs(20000);
    EXPECT_EQ(m_client.Load("/drip", target().string()), 12017);
    EXPECT_LT(secondsSince(cancelled), 1.0);
    EXPECT_GE(hookRuns, 25);
    // The user asked for it: no box.
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(testsupport::readFileBytes(target()), "last good list");
}

TEST_F(HttpClientWaitTest, AnEncodedBodyArrivesDecoded)
{
    ASSERT_EQ(connect(), 0);
    EXPECT_EQ(m_client.Load("/gzip", target().string()), 0);
    EXPECT_EQ(testsupport::readFileBytes(target()), testsupport::GzipSamplePlain);
    EXPECT_EQ(m_client.contentType(), "text/plain");
    const std::string plain = testsupport::priceLines(3000);
    for (const char* coding : {"gzip", "deflate"}) {
        const auto whole = testsupport::encodedBody(coding, plain).size();
        EXPECT_EQ(m_client.Load("/encoded/" + std::string(coding) + "/" + std::to_string(whole),
                                target().string()),
                  0);
        EXPECT_TRUE(testsupport::readFileBytes(target()) == plain) << coding;
    }
    // A server may encode what it was offered to: the body still reads as sent.
    EXPECT_EQ(m_client.Request("GET", "/echo", ""), 0);
    EXPECT_EQ(m_client.response(), "GET /echo\n\n");
}

} // namespace
