// The frame's close box, clicked through the window manager while the price-list load dialog
// waits on a server that has stopped answering: the close is not lost under the modal dialog.
// The transfer ends and the program closes as its "Выход" does, long before the transfer's own
// timeout; the real program runs on an X server of the test's own with openbox.
#include "WindowManager.h"
#include "X11Session.h"
#include "XServer.h"

#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace app;
using platform::text::w;

constexpr const char* FrameTitlePart = "ver 4.1";

// A server on loopback that takes connections and never answers, as a stalled one does.
class SilentServer
{
public:
    SilentServer()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(m_socket, 4) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] {
            while (!m_stopping) {
                pollfd waiting{m_socket, POLLIN, 0};
                if (::poll(&waiting, 1, 50) <= 0)
                    continue;
                const int client = ::accept(m_socket, nullptr, nullptr);
                if (client >= 0) {
                    m_clients.push_back(client);
                    ++m_accepted;
                }
            }
        });
    }
    ~SilentServer()
    {
        m_stopping = true;
        if (m_thread.joinable())
            m_thread.join();
        for (int client : m_clients)
            ::close(client);
        if (m_socket >= 0)
            ::close(m_socket);
    }
    int port() const { return m_port; }
    int accepted() const { return m_accepted; }

private:
    int m_socket = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_accepted{0};
    std::vector<int> m_clients;
    std::thread m_thread;
};

void prepareFolder(int port)
{
    DictionaryInit();
    ASSERT_EQ(RelateREKV_D->open(), 0);
    REKV_D().clearBuffer();
    REKD().SITENAME = std::string("127.0.0.1");
    REKD().SITEPORT = port;
    ASSERT_EQ(REKV_D().add(), 0);
    RelateREKV_D->close();
    ASSERT_EQ(RelatePROIZ->open(), 0);
    PROIZ().clearBuffer();
    P().NAIM = w("Bosch");
    P().M = 1;
    ASSERT_EQ(PROIZ().add(), 0);
    RelatePROIZ->close();
    DictionaryKill();
}

uint8_t manufacturerMark()
{
    DictionaryInit();
    uint8_t mark = 99;
    if (RelatePROIZ->open() == 0) {
        PROIZ().setFileOrder();
        if (PROIZ().next() == 0)
            mark = P().M;
        RelatePROIZ->close();
    }
    DictionaryKill();
    return mark;
}

TEST(FrameClose, CloseBoxUnderAStalledDownloadClosesTheProgramAsItsExitDoes)
{
    if (x11test::screenChild())
        GTEST_SKIP() << "runs the program, not on a screen of a test";
    if (!x11test::serverRunning())
        GTEST_SKIP() << "no X server for the test: " << x11test::skipReason();
    const QString wmctrl = QStandardPaths::findExecutable(QStringLiteral("wmctrl"));
    if (wmctrl.isEmpty())
        GTEST_SKIP() << "wmctrl is not installed (scripts/setup installs it)";
    x11test::XServer server;
    if (!server.start({"us"}, "1024x768", false))
        GTEST_SKIP() << "no X server: " << server.why();
    x11test::WindowManager manager;
    ASSERT_TRUE(manager.start(server.display())) << manager.why();

    testsupport::TempWorkFolder folder;
    SilentServer silent;
    ASSERT_NE(silent.port(), 0);
    prepareFolder(silent.port());
    testsupport::writeFileBytes(folder.file("session.txt"),
                                "menu \"Просмотр прайс-листа и заказ товара\"\n"
                                "wait open \"Прайс-лист/Заказ\" 10000\n"
                                "press ?BUTTON7\n"
                                "wait open \"Загрузка прайс-листа\"\n"
                                "press ?OPTION1:RADIO2\n"
                                "press ?BUTTON2\n");
    QTemporaryDir profile;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(server.display()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QUELB_SCRIPT"),
                       QString::fromStdString(folder.file("session.txt").string()));
    environment.insert(QStringLiteral("QUELB_SCRIPT_OUTPUT"),
                       QString::fromStdString(folder.file("session-out.txt").string()));
    environment.insert(QStringLiteral("QUELB_SYSTEM_SETTINGS"),
                       profile.filePath(QStringLiteral("system.ini")));
    environment.remove(QStringLiteral("QUELB_RESOURCES"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(QUELB_PROGRAM_PATH), {});

    // The download has reached the server, which keeps it waiting.
    QElapsedTimer waited;
    waited.start();
    while ((silent.accepted() == 0 ||
            testsupport::readFileBytes(folder.file("session-out.txt")).find("script done") ==
                std::string::npos) &&
           program.state() != QProcess::NotRunning && waited.elapsed() < 30000)
        program.waitForFinished(50);
    ASSERT_GE(silent.accepted(), 1) << testsupport::readFileBytes(folder.file("session-out.txt"));
    ASSERT_EQ(program.state(), QProcess::Running);

    QProcess close;
    close.setProcessEnvironment(environment);
    close.start(wmctrl, {QStringLiteral("-c"), QString::fromLatin1(FrameTitlePart)});
    ASSERT_TRUE(close.waitForFinished(5000));
    ASSERT_EQ(close.exitCode(), 0) << "wmctrl found no frame";
    QElapsedTimer sinceClose;
    sinceClose.start();
    // The transfer's own timeout is 30 s: an end well before it was the close's.
    const bool ended = program.waitForFinished(15000);
    const qint64 took = sinceClose.elapsed();
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the close was lost";
    EXPECT_LT(took, 10000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    // As "Выход": the price-list window stored its sizes, the frame cleared the marks.
    EXPECT_NE(testsupport::readFileBytes(folder.file("quelbarto.ini")).find("w3="),
              std::string::npos);
    EXPECT_EQ(manufacturerMark(), 0);
}

} // namespace
