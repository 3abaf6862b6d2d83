#include "tests/support/LoopbackPrintService.h"

#include <cups/cups.h>

#include <QProcessEnvironment>
#include <QThread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>

namespace testsupport {
namespace {

int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A PostScript-free printer that takes PDF and passes it on unchanged (the copying filter of
// the service's own drivers), so the file it writes is the PDF the program sent.
const char* const kPrinterDescription = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LOOPBACK.PPD"
*Manufacturer: "Loopback"
*Product: "(PDF file)"
*ModelName: "PDF file"
*ShortNickName: "PDF file"
*NickName: "PDF file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 gziptoany"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
)ppd";

} // namespace

LoopbackPrintService::LoopbackPrintService()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quelb-print-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        m_failure = "no temporary folder for the print service";
        return;
    }
    m_folder = pattern;
    // The filters run as the service's own user, which must reach the spooled files.
    std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::group_exec |
                                               std::filesystem::perms::others_read |
                                               std::filesystem::perms::others_exec);
    if (!start() && m_failure.empty())
        m_failure = "the print service did not start";
}

LoopbackPrintService::~LoopbackPrintService()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(10000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
    qunsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    std::error_code ignored;
    if (!m_folder.empty())
        std::filesystem::remove_all(m_folder, ignored);
}

bool LoopbackPrintService::start()
{
    const char* daemon = "/usr/sbin/cupsd";
    if (::access(daemon, X_OK) != 0) {
        m_failure = "cupsd is not installed (scripts/setup installs cups-daemon)";
        return false;
    }
    if (::geteuid() != 0) {
        m_failure = "cupsd writes the printed file as root only; run the test as root";
        return false;
    }
    namespace fs = std::filesystem;
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "out"})
        fs::create_directories(m_folder / sub);
    const int port = freePort();
    m_server = QStringLiteral("127.0.0.1:%1").arg(port);
    const std::string root = m_folder.string();
    writeText(m_folder / "cupsd.conf",
              "Listen 127.0.0.1:" + std::to_string(port) +
                  "\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
    writeText(m_folder / "cups-files.conf",
              "ServerRoot " + root + "\nRequestRoot " + root + "/spool\nCacheDir " + root +
                  "/cache\nStateDir " + root + "/state\nTempDir " + root + "/tmp\nErrorLog " +
                  root + "/log/error_log\nAccessLog " + root + "/log/access_log\nPageLog " +
                  root + "/log/page_log\nPrintcap " + root + "/printcap\nFileDevice Yes\n");
    writeText(m_folder / "loopback.ppd", kPrinterDescription);

    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.start(QString::fromLatin1(daemon),
                   {QStringLiteral("-f"), QStringLiteral("-c"),
                    QString::fromStdString((m_folder / "cupsd.conf").string()), QStringLiteral("-s"),
                    QString::fromStdString((m_folder / "cups-files.conf").string())});
    if (!m_daemon.waitForStarted(5000)) {
        m_failure = "cupsd could not be started";
        return false;
    }
    qputenv("CUPS_SERVER", m_server.toLatin1());
    cupsSetServer(nullptr); // a server the library met before is forgotten
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (command(QStringLiteral("lpstat"), {QStringLiteral("-r")}) !=
           "scheduler is running\n") {
        if (m_daemon.state() == QProcess::NotRunning ||
            std::chrono::steady_clock::now() > deadline) {
            m_failure = "cupsd did not answer: " + m_daemon.readAll().toStdString();
            return false;
        }
        QThread::msleep(50);
    }
    const std::string added = addQueue(queue());
    command(QStringLiteral("lpadmin"), {QStringLiteral("-d"), queue()});
    if (jobs().size() != 0 || command(QStringLiteral("lpstat"), {QStringLiteral("-d")}).find(
                                  "office") == std::string::npos) {
        m_failure = "the queue could not be set up: " + added;
        return false;
    }
    return true;
}

std::string LoopbackPrintService::addQueue(const QString& name) const
{
    const auto file = m_folder / "out" / (name.toStdString() + ".pdf");
    return command(QStringLiteral("lpadmin"),
                   {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                    QString::fromStdString("file://" + file.string()), QStringLiteral("-P"),
                    QString::fromStdString((m_folder / "loopback.ppd").string())});
}

std::string LoopbackPrintService::command(const QString& program,
                                          const QStringList& arguments) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), m_server);
    // Their answers are read as the C locale writes them.
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(10000))
        return program.toStdString() + " did not finish";
    return process.readAll().toStdString();
}

std::vector<LoopbackPrintService::Job> LoopbackPrintService::jobs() const
{
    cups_job_t* list = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, nullptr, 0, CUPS_WHICHJOBS_ALL);
    std::vector<Job> result;
    for (int i = 0; i < count; ++i)
        result.push_back({list[i].id, list[i].title ? list[i].title : "",
                          list[i].state == IPP_JSTATE_COMPLETED});
    cupsFreeJobs(count, list);
    return result;
}

bool LoopbackPrintService::waitCompleted() const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        bool all = true;
        for (const Job& job : jobs())
            all = all && job.completed;
        if (all)
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QThread::msleep(50);
    }
}

} // namespace testsupport
