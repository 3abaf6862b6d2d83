// The price-list load dialog as a user drives it: from a file, from the price-list server
// (directly and through an authenticating proxy), and the ways it ends without loading.
#include "app/ipmprice/Ipmprice.h"
#include "app/dictionary/Dictionary.h"
#include "ProgramSession.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "platform/system/WinInetWaiting.h"
#include "tests/support/DamagedPages.h"
#include "tests/support/EncodedBodies.h"
#include "tests/support/GzipSample.h"
#include "tests/support/LoopbackProxyProgram.h"
#include "tests/support/TempWorkFolder.h"
#include "tests/support/TestProxy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <thread>

#include <unistd.h>

namespace {

using namespace app;
using namespace platform::ui;
using platform::text::toQString;
using platform::text::w;

constexpr const char* Title = "Загрузка прайс-листа";

// Serves the price list at /price/quelbit.txt on 127.0.0.1.
class PriceServer
{
public:
    // An encoded body goes as a type the server library does not compress once more; a delay
    // holds the answer back, as a slow server does.
    explicit PriceServer(std::string body, int status = 200, std::string contentEncoding = {},
                         int delayMs = 0)
    {
        m_server.Get("/price/quelbit.txt", [this, body, status, contentEncoding, delayMs](
                                               const httplib::Request&, httplib::Response& response) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            ++m_requests;
            response.status = status;
            if (!contentEncoding.empty())
                response.set_header("Content-Encoding", contentEncoding);
            response.set_content(body, contentEncoding.empty() ? "text/plain"
                                                               : "application/octet-stream");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~PriceServer()
    {
        m_server.stop();
        m_thread.join();
    }
    int port() const { return m_port; }
    int requests() const { return m_requests; }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<int> m_requests{0};
};

class IpmpriceTest : public ::testing::Test
{
protected:
    void SetUp() override { DictionaryInit(); }
    void TearDown() override { DictionaryKill(); }

    // Runs the dialog while the driver carries out its commands.
    uint8_t runDialog(TestDriver& driver)
    {
        bool done = false;
        driver.start(
            [&](const std::string& result) {
                done = true;
                m_failure = result;
            },
            30000);
        const uint8_t result = ipmprice();
        QElapsedTimer waited;
        waited.start();
        while (!done && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return result;
    }

    static void writePriceList(const std::string& lines)
    {
        testsupport::writeFileBytes("stored.txt", lines);
        loadThroughDialog();
    }
    // The price list the tests start from: two items and one manufacturer.
    static void loadThroughDialog()
    {
        TestDriver driver;
        driver.waitOpen(Title).type("?FNAME", "stored.txt").press("?BUTTON2");
        bool done = false;
        driver.start([&](const std::string&) { done = true; }, 30000);
        ASSERT_EQ(ipmprice(), 0);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    static std::vector<int32_t> codes()
    {
        std::vector<int32_t> result;
        RelatePRIOSN->open();
        PRIOSN().setFileOrder();
        while (PRIOSN().next() == 0)
            result.push_back(PR().KOD);
        RelatePRIOSN->close();
        return result;
    }
    static std::vector<std::string> makers()
    {
        std::vector<std::string> result;
        RelatePROIZ->open();
        PROIZ().setFileOrder();
        while (PROIZ().next() == 0)
            result.push_back(P().NAIM.str());
        RelatePROIZ->close();
        return result;
    }
    static void setSite(const std::string& site, int32_t port)
    {
        RelateREKV_D->open();
        REKV_D().clearBuffer();
        REKD().SITENAME = site;
        REKD().SITEPORT = port;
        REKV_D().add();
        RelateREKV_D->close();
    }
    static void setProxy(const std::string& host, int32_t port, const std::string& user,
                         const std::string& password)
    {
        RelateREKV->open();
        REKV().clearBuffer();
        REK().PROXYADR = host;
        REK().PROXYPORT = port;
        REK().USERNAME = user;
        REK().USERPASS = password;
        REKV().add();
        RelateREKV->close();
    }

    testsupport::TempWorkFolder m_folder;
    std::string m_failure;
};

const std::string Stored = "1;;A;;1;10;Bosch;;;G\n2;;B;;1;10;Mann;;;G\n";

// Every title the dialog's window is given, in order.
class TitleRecorder : public QObject
{
public:
    void watch(QWidget* widget)
    {
        m_widget = widget;
        widget->installEventFilter(this);
    }
    std::vector<std::string> m_titles;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_widget && event->type() == QEvent::WindowTitleChange)
            m_titles.push_back(platform::text::fromQString(m_widget->windowTitle()));
        return false;
    }

private:
    QWidget* m_widget = nullptr;
};

TEST_F(IpmpriceTest, AFileLoadReturnsZeroAndTheTitleCounterMovesToTheLinesRead)
{
    writePriceList(Stored);
    std::string lines;
    for (int i = 1; i <= 30001; ++i)
        lines += std::to_string(i) + ";D;N;;1;" + std::to_string(i % 50) + ";M;;;G\r\n";
    testsupport::writeFileBytes(m_folder.file("new.txt"), lines);

    TitleRecorder recorder;
    TestDriver driver;
    driver.waitOpen(Title)
        .call([&] { recorder.watch(TestDriver::topWindow()->topWidget()); })
        .type("?FNAME", "  new.txt  ")
        .press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 0);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(codes().size(), 30001u);
    std::vector<std::string> counts;
    for (const std::string& title : recorder.m_titles)
        if (title.rfind(w("Обновление прайс-листа -"), 0) == 0)
            counts.push_back(title);
    EXPECT_GE(counts.size(), 2u) << "the title counter did not move during the load";
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.back(), w("Обновление прайс-листа -30001"));
}

TEST_F(IpmpriceTest, AMissingFileIsReportedAndTheDialogStaysOpen)
{
    writePriceList(Stored);
    TestDriver driver;
    driver.waitOpen(Title)
        .type("?FNAME", "missing.txt")
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .call([] { ASSERT_NE(TestDriver::topWindow(), nullptr); })
        .press("?BUTTON2:2");
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w("Ошибка открытия файла missing.txt"));
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", "Mann"}));
}

// A name typed with letters Windows-1251 cannot hold: each is taken back as it is typed and
// named in a box, so the file name is never stored with "?" in their place.
TEST_F(IpmpriceTest, LettersOutsideTheCodePageTypedIntoTheNameAreTakenBackAndNamed)
{
    TestDriver driver;
    std::string kept;
    driver.waitOpen(Title)
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .type("?FNAME", "out-Қазақ-Café.txt")
        .waitIdle()
        .call([&] {
            if (Control* name = TestDriver::findControl("?FNAME"))
                kept = platform::text::cp1251ToUtf8(name->text());
        })
        .press("?BUTTON2:2");
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(kept, "out-аза-Caf.txt");
    const std::string told = "Имя файла содержит символы, которые программа не может использовать: ";
    ASSERT_EQ(driver.messages().size(), 3u);
    EXPECT_EQ(platform::ui::shownText(driver.messages()[0]), told + "Қ");
    EXPECT_EQ(platform::ui::shownText(driver.messages()[1]), told + "қ");
    EXPECT_EQ(platform::ui::shownText(driver.messages()[2]), told + "é");
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
}

TEST_F(IpmpriceTest, AFileThatIsNoPriceListIsLoadedOnlyWhenTheUserSaysSo)
{
    writePriceList(Stored);
    std::string random(200 * 1024, '\0');
    std::mt19937 bytes(11);
    for (char& c : random)
        c = static_cast<char>(bytes());
    testsupport::writeFileBytes(m_folder.file("random.bin"), random);
    TestDriver driver;
    driver.waitOpen(Title).type("?FNAME", "random.bin").answerMessage(Button::No).press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    ASSERT_EQ(driver.messages().size(), 1u); // the answer is all: no box follows it
    const MessageRequest& asked = driver.messages()[0];
    EXPECT_EQ(asked.text.rfind(w("В файле random.bin "), 0), 0u) << asked.text;
    EXPECT_NE(asked.text.find(w(" строк не похожи на строки прайс-листа, например: ")),
              std::string::npos);
    EXPECT_EQ(asked.caption, w("Сообщение"));
    EXPECT_EQ(asked.buttons, Button::Yes | Button::No);
    EXPECT_EQ(asked.defaultButton, Button::No);
    EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", "Mann"}));
}

TEST_F(IpmpriceTest, CancelOrCloseBeforeAnyLoadReturnsOne)
{
    TestDriver cancel;
    cancel.waitOpen(Title).press("?BUTTON2:2");
    EXPECT_EQ(runDialog(cancel), 1);
    EXPECT_EQ(m_failure, "");
    TestDriver close;
    close.waitOpen(Title).close();
    EXPECT_EQ(runDialog(close), 1);
    EXPECT_EQ(m_failure, "");
}

TEST_F(IpmpriceTest, TheFileChooserFillsTheNameAndACancelBlanksIt)
{
    std::string chosen;
    std::string afterCancel = "x";
    const auto fileName = [](std::string& into) {
        return [&into] { into = TestDriver::topWindow()->property(4, Property::Text); };
    };
    TestDriver driver;
    driver.waitOpen(Title)
        .answerFile("/data/quelbit.txt")
        .press("?LOOKUPFILE")
        .call(fileName(chosen))
        .answerFile(std::nullopt)
        .press("?LOOKUPFILE")
        .call(fileName(afterCancel))
        .press("?BUTTON2:2");
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(chosen, "/data/quelbit.txt");
    EXPECT_EQ(afterCancel, "");
}

TEST_F(IpmpriceTest, TheInternetChoiceHidesTheFileNameAndShowsTheWarning)
{
    bool nameShown = true;
    bool warningShown = false;
    TestDriver driver;
    bool nameBack = false;
    bool warningBack = true;
    // The choice follows the focus, as when the user clicks a radio or moves to it by key.
    const auto focus = [](int radio) {
        return [radio] { TestDriver::topWindow()->select(radio); };
    };
    const auto shown = [](bool& name, bool& warning) {
        return [&name, &warning] {
            Window* window = TestDriver::topWindow();
            name = window->isShown(*window->control(4));
            warning = window->isShown(*window->control(6));
        };
    };
    driver.waitOpen(Title)
        .call(shown(nameBack, warningBack))
        .call([&] { EXPECT_TRUE(nameBack && !warningBack) << "at open"; })
        .press("?OPTION1:RADIO2")
        .call(focus(3))
        .call(shown(nameShown, warningShown))
        .press("?OPTION1:RADIO1")
        .call(focus(2))
        .call(shown(nameBack, warningBack))
        .press("?BUTTON2:2");
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_FALSE(nameShown);
    EXPECT_TRUE(warningShown);
    EXPECT_TRUE(nameBack);
    EXPECT_FALSE(warningBack);
}

// Every state the source choice leads to, and the status a download shows while it runs,
// looked at as a person would: the warning and the status whole, nothing overlapping.
TEST_F(IpmpriceTest, TheWarningAndTheDownloadStatusAreSeenWhole)
{
    writePriceList(Stored);
    PriceServer server("2;;B;;1;12;Mann;;;G\n", 200, {}, 800);
    setSite("127.0.0.1", server.port());
    std::vector<std::string> choices;
    std::vector<std::string> downloading;
    std::string status;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, &sampler, [&] {
        Window* window = TestDriver::topWindow();
        if (!status.empty() || !window || window->title() != w(Title) ||
            !window->isShown(*window->control(7)))
            return;
        status = window->control(7)->text();
        downloading = LayoutAudit::controls(*window);
    });
    sampler.start(20);
    TestDriver driver;
    driver.waitOpen(Title)
        .call([&] { choices = LayoutAudit::everyState(*TestDriver::topWindow()); })
        .press("?OPTION1:RADIO2")
        .press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 0);
    EXPECT_EQ(m_failure, "");
    EXPECT_TRUE(choices.empty()) << testing::PrintToString(choices);
    EXPECT_EQ(platform::text::cp1251ToUtf8(status).rfind("Ждите, загружается прайс-лист", 0), 0u)
        << platform::text::cp1251ToUtf8(status);
    EXPECT_TRUE(downloading.empty()) << testing::PrintToString(downloading);
}

TEST_F(IpmpriceTest, ADownloadIsLoadedAndTheFileStaysInTheFolder)
{
    writePriceList(Stored);
    const std::string body = "2;;B;;1;12;Mann;;;G\r\n3;;C;;1;5;Febi;;;G\r\n";
    PriceServer server(body);
    setSite("   127.0.0.1", server.port());
    TestDriver driver;
    driver.waitOpen(Title).press("?OPTION1:RADIO2").press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 0);
    EXPECT_EQ(m_failure, "");
    EXPECT_TRUE(driver.messages().empty());
    EXPECT_EQ(server.requests(), 1);
    EXPECT_EQ(codes(), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(testsupport::readFileBytes(m_folder.file("quelbit.txt")), body);
}

TEST_F(IpmpriceTest, AFailedDownloadLeavesEverythingUntouched)
{
    writePriceList(Stored);
    PriceServer server("1;;X;;1;1;Y;;;G\n", 404);
    setSite("127.0.0.1", server.port());
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?OPTION1:RADIO2")
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    ASSERT_EQ(driver.messages().size(), 2u);
    EXPECT_EQ(driver.messages()[1].text, w("Не удается скачать файл прайс-листа!"));
    EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", "Mann"}));

    // A file the body cannot be written to: the box names quelbit.txt, the file the user knows.
    PriceServer good("1;;X;;1;1;Y;;;G\n");
    RelateREKV_D->open();
    REKV_D().empty();
    RelateREKV_D->close();
    setSite("127.0.0.1", good.port());
    const std::string quelbit = (std::filesystem::current_path() / "quelbit.txt").string();
    const std::string part = quelbit + ".new-" + std::to_string(::getpid()) + ".part-"
                             + std::to_string(::getpid());
    std::filesystem::create_directory(part);
    TestDriver blocked;
    blocked.waitOpen(Title)
        .press("?OPTION1:RADIO2")
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .press("?BUTTON2");
    EXPECT_EQ(runDialog(blocked), 1);
    std::filesystem::remove(part);
    EXPECT_EQ(m_failure, "");
    ASSERT_EQ(blocked.messages().size(), 2u);
    EXPECT_EQ(blocked.messages()[0].text.rfind(w("Ошибка создания файла ") + quelbit + ": ", 0), 0u)
        << platform::text::cp1251ToUtf8(blocked.messages()[0].text);
    EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
}

TEST_F(IpmpriceTest, ALoadThroughAnAuthenticatingProxyWorksEndToEnd)
{
    const std::string body = "5;;E;;1;3;Mann;;;G\n";
    PriceServer server(body);
    testsupport::TestProxy proxy("ivan", "secret");
    // The system's proxy setting must not take the place of the stored one.
    qputenv("http_proxy", "http://127.0.0.1:9");
    setProxy("127.0.0.1", proxy.port(), "ivan", "secret");
    setSite("127.0.0.1", server.port());
    TestDriver driver;
    driver.waitOpen(Title).press("?OPTION1:RADIO2").press("?BUTTON2");
    const uint8_t result = runDialog(driver);
    qunsetenv("http_proxy");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m_failure, "");
    EXPECT_TRUE(driver.messages().empty());
    EXPECT_GE(proxy.forwarded(), 1);
    EXPECT_EQ(codes(), (std::vector<int32_t>{5}));
}


// The settings as a person leaves them: one requisites record and one site record.
void storeSettings(const std::string& proxy, int32_t proxyPort, const std::string& site,
                   int32_t sitePort)
{
    RelateREKV->open();
    REKV().empty();
    REKV().clearBuffer();
    REK().PROXYADR = proxy;
    REK().PROXYPORT = proxyPort;
    REKV().add();
    RelateREKV->close();
    RelateREKV_D->open();
    REKV_D().empty();
    REKV_D().clearBuffer();
    REKD().SITENAME = site;
    REKD().SITEPORT = sitePort;
    REKV_D().add();
    RelateREKV_D->close();
}

int closedPort()
{
    PriceServer gone("");
    return gone.port();
}

TEST_F(IpmpriceTest, AProxyTypedAsAnAddressIsTakenAsItsHostAndPort)
{
    testsupport::LoopbackProxyProgram proxy;
    if (!proxy.running())
        GTEST_SKIP() << proxy.why();
    const std::string body = "5;;E;;1;3;Mann;;;G\n";
    PriceServer server(body);
    // The scheme's colon is no port: the port field gives it.
    for (const std::string typed : {"http://127.0.0.1", "http://127.0.0.1/", "HTTP://127.0.0.1"}) {
        storeSettings(typed, proxy.port(), "127.0.0.1", server.port());
        TestDriver driver;
        driver.waitOpen(Title).press("?OPTION1:RADIO2").press("?BUTTON2");
        EXPECT_EQ(runDialog(driver), 0) << typed;
        EXPECT_EQ(m_failure, "") << typed;
        EXPECT_TRUE(driver.messages().empty()) << typed;
        EXPECT_EQ(codes(), (std::vector<int32_t>{5})) << typed;
    }
    EXPECT_EQ(server.requests(), 3);
    EXPECT_NE(proxy.log().find("GET http://127.0.0.1:" + std::to_string(server.port()) +
                               "/price/quelbit.txt"),
              std::string::npos)
        << proxy.log();
}

TEST_F(IpmpriceTest, AProxyOrSiteThatCannotBeReachedIsNamedInTheMessage)
{
    writePriceList(Stored);
    platform::system::setDefaultTimeoutMs(5000);
    const int closed = closedPort();
    const std::string at = "127.0.0.1:" + std::to_string(closed);
    struct Case
    {
        std::string proxy;
        int32_t proxyPort;
        std::string site;
        int32_t sitePort;
        std::string said; // UTF-8
    };
    const std::vector<Case> cases{
        {"127.0.0.1", closed, "127.0.0.1", 80,
         "Прокси-сервер " + at + " недоступен: он не отвечает или его имя не найдено"},
        {"nosuch-proxy.invalid", 3128, "127.0.0.1", 80,
         "Прокси-сервер nosuch-proxy.invalid:3128 недоступен: он не отвечает или его имя не "
         "найдено"},
        {"", 0, "nosuch-site.invalid", 0,
         "Сервер nosuch-site.invalid:80 не найден: такого имени в сети нет"},
        {"", 0, "127.0.0.1", closed,
         "Соединение отклонено: сервер " + at + " не отвечает по этому адресу и порту"},
    };
    for (const Case& one : cases) {
        storeSettings(one.proxy, one.proxyPort, one.site, one.sitePort);
        TestDriver driver;
        driver.waitOpen(Title)
            .press("?OPTION1:RADIO2")
            .answerMessage(Button::Ok)
            .answerMessage(Button::Ok)
            .press("?BUTTON2");
        EXPECT_EQ(runDialog(driver), 1) << one.said;
        EXPECT_EQ(m_failure, "") << one.said;
        std::vector<std::string> texts;
        for (const MessageRequest& shown : driver.messages())
            texts.push_back(platform::text::cp1251ToUtf8(shown.text));
        EXPECT_EQ(texts, (std::vector<std::string>{one.said, "Не удается скачать файл прайс-листа!"}));
        EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
    }
    platform::system::setDefaultTimeoutMs(0);
}

// A price-list server that misbehaves in one way.
class TroubleServer
{
public:
    enum class Trouble { Drip, Silent, CutWithoutLength, ShortLength, Empty, WebPage, Gzip };

    explicit TroubleServer(Trouble trouble)
    {
        m_server.Get("/price/quelbit.txt", [this, trouble](const httplib::Request&,
                                                          httplib::Response& response) {
            switch (trouble) {
            case Trouble::Drip:
                response.set_chunked_content_provider(
                    "text/plain", [this](std::size_t, httplib::DataSink& sink) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(300));
                        return !m_stopping && sink.write("7;", 2);
                    });
                break;
            case Trouble::Silent:
                while (!m_stopping)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                break;
            case Trouble::CutWithoutLength:
                response.set_content_provider(
                    "text/plain", [](std::size_t offset, httplib::DataSink& sink) {
                        if (offset > 0)
                            return false;
                        const std::string part = "7;;G;;1;1;Febi;;;G\n8;;H;;1;1;Fe";
                        return sink.write(part.data(), part.size()) && false;
                    });
                break;
            case Trouble::ShortLength: {
                // A whole list behind a length that ends in the middle of its 27th line.
                const std::string list = testsupport::priceLines(55);
                std::size_t length = 0;
                for (int line = 0; line < 26; ++line)
                    length = list.find('\n', length) + 1;
                length += 5;
                response.set_content_provider(
                    length, "text/plain",
                    [list, length](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                        return sink.write(list.data() + offset, length - offset);
                    });
                break;
            }
            case Trouble::Empty:
                response.set_content("", "text/plain");
                break;
            case Trouble::WebPage:
                response.set_content("<html><body><h1>Service unavailable</h1>\n"
                                     "<p>7;8;9</p></body></html>\n",
                                     "text/html; charset=utf-8");
                break;
            case Trouble::Gzip:
                response.set_header("Content-Encoding", "gzip");
                response.set_content(testsupport::GzipSampleEncoded, "text/plain");
                break;
            }
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::yield();
    }
    ~TroubleServer()
    {
        m_stopping = true;
        m_server.stop();
        m_thread.join();
    }
    int port() const { return m_port; }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
};

// A download that goes wrong ends with its message, the previous quelbit.txt and the list as
// they were. The no-progress timeout is shortened to a second; the program's is 30 seconds.
class IpmpriceTroubleTest : public IpmpriceTest
{
protected:
    void SetUp() override
    {
        IpmpriceTest::SetUp();
        writePriceList(Stored);
        testsupport::writeFileBytes(m_folder.file("quelbit.txt"), Previous);
        platform::system::setDefaultTimeoutMs(1000);
    }
    void TearDown() override
    {
        platform::system::setDefaultTimeoutMs(0);
        IpmpriceTest::TearDown();
    }

    // Downloads from the server answering each message box with OK; the texts shown.
    std::vector<std::string> download(int port, uint8_t expected, int boxes)
    {
        RelateREKV_D->open();
        REKV_D().empty();
        RelateREKV_D->close();
        setSite("127.0.0.1", port);
        TestDriver driver;
        driver.waitOpen(Title).press("?OPTION1:RADIO2");
        for (int i = 0; i < boxes; ++i)
            driver.answerMessage(Button::Ok);
        driver.press("?BUTTON2");
        QElapsedTimer took;
        took.start();
        EXPECT_EQ(runDialog(driver), expected);
        EXPECT_LT(took.elapsed(), 35000);
        EXPECT_EQ(m_failure, "");
        std::vector<std::string> texts;
        for (const MessageRequest& shown : driver.messages())
            texts.push_back(shown.text);
        return texts;
    }

    void expectUntouched()
    {
        EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
        EXPECT_EQ(makers(), (std::vector<std::string>{"Bosch", "Mann"}));
        EXPECT_EQ(testsupport::readFileBytes(m_folder.file("quelbit.txt")), Previous);
        // Nothing of the download is left beside it.
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
            EXPECT_EQ(entry.path().filename().string().find("quelbit.txt."), std::string::npos)
                << entry.path();
    }

    const std::string Previous = "3;;C;;1;5;Febi;;;G\n";
};

TEST_F(IpmpriceTroubleTest, ASilentOrDrippingServerEndsAsATimeout)
{
    for (const auto trouble : {TroubleServer::Trouble::Silent, TroubleServer::Trouble::Drip}) {
        TroubleServer server(trouble);
        EXPECT_EQ(download(server.port(), 1, 2),
                  (std::vector<std::string>{w("Превышено время ожидания: сервер не передаёт данные"),
                                            w("Не удается скачать файл прайс-листа!")}));
        expectUntouched();
    }
}

TEST_F(IpmpriceTroubleTest, ABodyCutInsideALineIsRefused)
{
    // The connection's end without a length, and a length shorter than the list.
    for (const auto trouble :
         {TroubleServer::Trouble::CutWithoutLength, TroubleServer::Trouble::ShortLength}) {
        TroubleServer server(trouble);
        EXPECT_EQ(download(server.port(), 1, 1),
                  (std::vector<std::string>{
                      w("Файл прайс-листа получен не полностью. Прайс-лист не изменён.")}));
        expectUntouched();
    }
}

TEST_F(IpmpriceTroubleTest, AnEmptyAnswerOrAWebPageChangesNothing)
{
    {
        TroubleServer server(TroubleServer::Trouble::Empty);
        // The file named is the one the user knows, not the one the download went to.
        const std::string quelbit = (std::filesystem::current_path() / "quelbit.txt").string();
        EXPECT_EQ(download(server.port(), 1, 1),
                  (std::vector<std::string>{w("В файле ") + quelbit
                                            + w(" нет строк прайс-листа. Прайс-лист не изменён.")}));
        expectUntouched();
    }
    {
        TroubleServer server(TroubleServer::Trouble::WebPage);
        EXPECT_EQ(download(server.port(), 1, 1),
                  (std::vector<std::string>{w("Сервер прислал веб-страницу вместо файла "
                                              "прайс-листа. Прайс-лист не изменён.")}));
        expectUntouched();
    }
}

TEST_F(IpmpriceTroubleTest, AnEncodedAnswerLoadsTheDecodedList)
{
    TroubleServer server(TroubleServer::Trouble::Gzip);
    EXPECT_TRUE(download(server.port(), 0, 0).empty());
    EXPECT_EQ(codes(), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(testsupport::readFileBytes(m_folder.file("quelbit.txt")),
              testsupport::GzipSamplePlain);
    const std::string plain = testsupport::priceLines(3000);
    PriceServer deflated(testsupport::encodedBody("deflate", plain), 200, "deflate");
    EXPECT_TRUE(download(deflated.port(), 0, 0).empty());
    EXPECT_EQ(codes().size(), 3000u);
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("quelbit.txt")) == plain);
}

// The announced length is the cut one: only the missing end of the stream tells.
TEST_F(IpmpriceTroubleTest, AnEncodedListCutShortChangesNothing)
{
    const std::string plain = testsupport::priceLines(3000);
    for (const char* coding : {"gzip", "deflate"}) {
        const std::string encoded = testsupport::encodedBody(coding, plain);
        for (const auto& [where, length] : testsupport::cutPoints(coding, encoded)) {
            PriceServer server(encoded.substr(0, length), 200, coding);
            EXPECT_EQ(download(server.port(), 1, 2),
                      (std::vector<std::string>{
                          w("Ошибка считывания данных"),
                          w("Файл прайс-листа получен не полностью. Прайс-лист не изменён.")}))
                << coding << " cut " << where;
            expectUntouched();
        }
    }
}

// A script's "wait idle" after "Загрузить" returns once the download is over, not while the
// status line still says it runs.
TEST_F(IpmpriceTroubleTest, WaitIdleWaitsUntilTheDownloadIsOver)
{
    platform::system::setDefaultTimeoutMs(2000);
    TroubleServer server(TroubleServer::Trouble::Silent);
    setSite("127.0.0.1", server.port());
    std::string seen = "nothing";
    TestDriver driver;
    driver.waitOpen(Title)
        .press("?OPTION1:RADIO2")
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .waitIdle(20000)
        .call([&] {
            const Window* window = TestDriver::topWindow();
            seen = window ? platform::text::cp1251ToUtf8(window->control(7)->text()) : "";
        });
    EXPECT_EQ(runDialog(driver), 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(seen, "");
    EXPECT_EQ(driver.messages().size(), 2u);
    expectUntouched();
}

TEST_F(IpmpriceTroubleTest, TheWindowStaysAliveDuringADownloadAndCancelEndsItAtOnce)
{
    platform::system::setDefaultTimeoutMs(20000);
    TroubleServer server(TroubleServer::Trouble::Drip);
    setSite("127.0.0.1", server.port());
    // The test's timer runs on the window's thread: it fires only while that thread is free.
    int firedDuringDownload = 0;
    QElapsedTimer sinceCancel;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&] {
        Control* cancel = TestDriver::findControl("?BUTTON2:2");
        Window* window = TestDriver::topWindow();
        if (!cancel || !window || !window->isShown(*window->control(7)) || cancel->isDisabled())
            return;
        if (++firedDuringDownload == 20 && !sinceCancel.isValid()) {
            sinceCancel.start();
            cancel->press();
        }
    });
    watcher.start(20);
    TestDriver driver;
    driver.waitOpen(Title).press("?OPTION1:RADIO2").press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 1);
    watcher.stop();
    ASSERT_TRUE(sinceCancel.isValid());
    EXPECT_LT(sinceCancel.elapsed(), 1000);
    EXPECT_GE(firedDuringDownload, 20);
    // Cancelled by the user: no box.
    EXPECT_TRUE(driver.messages().empty());
    EXPECT_EQ(m_failure, "");
    expectUntouched();
}

// The close box, the frame's "Выход" and a script that fails while the download waits on a
// silent server: the transfer ends at once, not at the timeout, and nothing changes.
TEST_F(IpmpriceTroubleTest, AnyCloseEndsAStalledDownloadAtOnce)
{
    platform::system::setDefaultTimeoutMs(20000);
    TroubleServer server(TroubleServer::Trouble::Silent);
    setSite("127.0.0.1", server.port());
    // Fires only while the window's thread is free, that is while the download waits.
    const auto whileDownloading = [](QTimer& timer, std::function<void()> then) {
        auto fired = std::make_shared<int>(0);
        QObject::connect(&timer, &QTimer::timeout, &timer, [fired, then] {
            Control* cancel = TestDriver::findControl("?BUTTON2:2");
            Window* window = TestDriver::topWindow();
            if (cancel && window && window->isShown(*window->control(7)) && !cancel->isDisabled()
                && ++*fired == 10)
                then();
        });
        timer.start(20);
    };
    {
        TestDriver driver;
        driver.waitOpen(Title).press("?OPTION1:RADIO2").press("?BUTTON2");
        driver.start([](const std::string&) {});
        QElapsedTimer sinceClose;
        QTimer watcher;
        whileDownloading(watcher, [&] {
            sinceClose.start();
            driver.close();
            driver.start([&](const std::string& result) { m_failure = result; });
        });
        EXPECT_EQ(ipmprice(), 1);
        ASSERT_TRUE(sinceClose.isValid());
        EXPECT_LT(sinceClose.elapsed(), 1000);
        EXPECT_TRUE(driver.messages().empty());
        EXPECT_EQ(m_failure, "");
        expectUntouched();
    }
    {
        // The frame's "Выход", the dialog called from the price-list window.
        DictionaryKill();
        TestDriver driver;
        driver.waitOpen(e2e::FrameTitle)
            .menu("Просмотр прайс-листа и составление заказа")
            .waitOpen("Прайс-лист/Заказ")
            .press("?BUTTON7")
            .waitOpen(Title)
            .press("?OPTION1:RADIO2")
            .press("?BUTTON2");
        QElapsedTimer sinceExit;
        QTimer watcher;
        whileDownloading(watcher, [&] {
            sinceExit.start();
            driver.menu("Выход");
            driver.start([&](const std::string& result) { m_failure = result; });
        });
        EXPECT_EQ(e2e::runProgram(driver), "");
        ASSERT_TRUE(sinceExit.isValid());
        EXPECT_LT(sinceExit.elapsed(), 1000);
        EXPECT_EQ(m_failure, "");
        // No word of the download (the program's end may still tell of empty reference lists).
        EXPECT_EQ(e2e::messagesCaptioned(driver, "Ошибка"), 0);
        DictionaryInit();
        expectUntouched();
    }
    {
        TestDriver driver;
        driver.waitOpen(Title).press("?OPTION1:RADIO2").press("?BUTTON2").waitClose(Title, 1500);
        QElapsedTimer sinceFailure;
        driver.start([&](const std::string& result) {
            sinceFailure.start();
            m_failure = result;
        });
        EXPECT_EQ(ipmprice(), 1);
        ASSERT_TRUE(sinceFailure.isValid());
        EXPECT_LT(sinceFailure.elapsed(), 1000);
        EXPECT_NE(m_failure, "");
        expectUntouched();
    }
}

// A price file damaged beyond opening is replaced through a question; the damaged one stays.
TEST_F(IpmpriceTest, ADamagedPriceFileIsReplacedAfterTheQuestionAndKept)
{
    writePriceList(Stored);
    testsupport::writeFileBytes(m_folder.file("priosn.tps"), std::string(8192, 'x'));
    testsupport::writeFileBytes(m_folder.file("new.txt"), "5;;E;;1;3;Mann;;;G\n");
    TestDriver driver;
    // The open of the damaged file is reported first, then the load asks.
    driver.answerMessage(Button::Ok)
        .waitOpen(Title)
        .type("?FNAME", "new.txt")
        .answerMessage(Button::Yes)
        .press("?BUTTON2");
    // The dialog's open of the damaged file is reported before its window shows: the answer
    // to that box is taken first.
    uint8_t result = 1;
    EXPECT_EQ(e2e::runAlongside(driver, [&] { result = ipmprice(); }, 30000), "");
    EXPECT_EQ(result, 0);
    bool asked = false;
    for (const MessageRequest& shown : driver.messages())
        asked = asked
                || shown.text
                       == w("Файл прайс-листа повреждён. Создать его заново и загрузить прайс-лист?");
    EXPECT_TRUE(asked);
    EXPECT_EQ(codes(), (std::vector<int32_t>{5}));
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("priosn.tps.bad")) == std::string(8192, 'x'));
}


// Damage met inside a file that opened: the same question, the file replaced and loaded.
TEST_F(IpmpriceTest, DamageMetDuringTheLoadIsRepairedTheSameWay)
{
    std::string lines;
    for (int i = 1; i <= 3000; ++i)
        lines += std::to_string(i) + ";D" + std::to_string(i) + ";Name;;1;5;M" + std::to_string(i)
                 + ";;;G\n";
    writePriceList(lines);
    const auto priosn = m_folder.file("priosn.tps");
    std::string bytes = testsupport::readFileBytes(priosn);
    ASSERT_GT(bytes.size(), 16u * 4096);
    std::fill(bytes.end() - 8 * 4096, bytes.end(), 'x');
    testsupport::writeFileBytes(priosn, bytes);
    testsupport::writeFileBytes(m_folder.file("new.txt"), "5;;E;;1;3;Mann;;;G\n");
    TestDriver driver;
    driver.waitOpen(Title)
        .type("?FNAME", "new.txt")
        .answerMessage(Button::Yes)
        .press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 0);
    EXPECT_EQ(m_failure, "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text,
              w("Файл прайс-листа повреждён. Создать его заново и загрузить прайс-лист?"));
    EXPECT_EQ(codes(), (std::vector<int32_t>{5}));
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("priosn.tps.bad")) == bytes);
}

// The manufacturers are rebuilt by every load as well: damage on a late page of their file is
// met when the load empties it, and the same question makes the file anew.
TEST_F(IpmpriceTest, DamagedManufacturersAreMadeAnewTheSameWay)
{
    std::string lines;
    for (int i = 1; i <= 3000; ++i)
        lines += std::to_string(i) + ";D;Name;;1;5;Maker " + std::to_string(i) + ";;;G\n";
    writePriceList(lines);
    std::string bytes;
    testsupport::damageRecordPage(m_folder.file("proiz.tps"), 0, &bytes);
    testsupport::writeFileBytes(m_folder.file("new.txt"), "5;;E;;1;3;Mann;;;G\n");
    TestDriver driver;
    driver.waitOpen(Title).type("?FNAME", "new.txt").answerMessage(Button::Yes).press("?BUTTON2");
    EXPECT_EQ(runDialog(driver), 0);
    EXPECT_EQ(m_failure, "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text,
              w("Файл производителей повреждён. Создать его заново и загрузить прайс-лист?"));
    EXPECT_EQ(codes(), (std::vector<int32_t>{5}));
    EXPECT_EQ(makers(), (std::vector<std::string>{"Mann"}));
    EXPECT_TRUE(testsupport::readFileBytes(m_folder.file("proiz.tps.bad")) == bytes);
}

} // namespace
