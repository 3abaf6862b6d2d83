// The real program, run as a child process offscreen: every way out ends with its exit code,
// never with a crash, and the windows close in order.
#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "app/startup/MainProgram.h"
#include "platform/storage/FolderLock.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/TestDriver.h"
#include "tests/support/TempWorkFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace app;
using platform::text::w;

namespace {

struct Finished
{
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    std::string output; // the script's output file
};

// The program started in the folder with the script (UTF-8 lines), offscreen, with its
// resources compiled in (none given by the environment) and the environment's further entries.
void startProgram(QProcess& program, const testsupport::TempWorkFolder& folder,
                  const std::string& script, const std::map<QString, QString>& environment = {})
{
    const std::filesystem::path scriptFile = folder.file("session.txt");
    testsupport::writeFileBytes(scriptFile, script);
    std::filesystem::remove(folder.file("session-out.txt"));
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    variables.insert(QStringLiteral("QUELB_SCRIPT"), QString::fromStdString(scriptFile.string()));
    variables.insert(QStringLiteral("QUELB_SCRIPT_OUTPUT"),
                     QString::fromStdString(folder.file("session-out.txt").string()));
    variables.remove(QStringLiteral("QUELB_RESOURCES"));
    for (const auto& [name, value] : environment)
        variables.insert(name, value);
    program.setProcessEnvironment(variables);
    program.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(QUELB_PROGRAM_PATH), {});
}

Finished waitForEnd(QProcess& program, const testsupport::TempWorkFolder& folder)
{
    Finished finished;
    // A program that ended already is not waited for (waitForFinished would say it timed out).
    if (program.state() != QProcess::NotRunning && !program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished();
        finished.output = "(did not end)";
        return finished;
    }
    finished.status = program.exitStatus();
    finished.code = program.exitCode();
    finished.output = testsupport::readFileBytes(folder.file("session-out.txt"));
    return finished;
}

// Runs the program in the folder with the script; with a file size limit, the program starts
// under it with the signal's default action, as a shell's `ulimit -f` leaves it.
Finished runProgram(const testsupport::TempWorkFolder& folder, const std::string& script,
                    rlim_t fileSizeLimit = RLIM_INFINITY,
                    const std::map<QString, QString>& environment = {})
{
    QProcess program;
    if (fileSizeLimit != RLIM_INFINITY)
        program.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    startProgram(program, folder, script, environment);
    return waitForEnd(program, folder);
}

// Runs the script, then, once it is done and the program still runs, sends the signal.
Finished runAndSignal(const testsupport::TempWorkFolder& folder, const std::string& script,
                      int signal, const std::map<QString, QString>& environment)
{
    QProcess program;
    startProgram(program, folder, script, environment);
    QElapsedTimer waited;
    waited.start();
    while (testsupport::readFileBytes(folder.file("session-out.txt")).find("script done") ==
               std::string::npos &&
           program.state() != QProcess::NotRunning && waited.elapsed() < 30000)
        program.waitForFinished(50);
    if (program.state() != QProcess::NotRunning)
        ::kill(static_cast<pid_t>(program.processId()), signal);
    return waitForEnd(program, folder);
}

// A price list in the previous version's layout: the program offers to rebuild the files.
void writeOldPriceList()
{
    RecordFile old(priosnNLayout());
    old.setDiskName("priosn.tps");
    ASSERT_EQ(old.create(), 0);
    ASSERT_EQ(old.open(), 0);
    old.clearBuffer();
    old.record<PriosnNRecord>().KOD = 17;
    ASSERT_EQ(old.add(), 0);
    old.close();
}

} // namespace

TEST(ProgramExit, FailingScriptEndsTheProgramWithCodeTwo)
{
    testsupport::TempWorkFolder folder;
    const Finished timedOut = runProgram(folder, "wait open \"Нет такого окна\" 300\n");
    EXPECT_EQ(timedOut.status, QProcess::NormalExit) << timedOut.output;
    EXPECT_EQ(timedOut.code, 2) << timedOut.output;
    EXPECT_NE(timedOut.output.find("script failed: "), std::string::npos) << timedOut.output;

    // A failure while a dialog of a window on its own thread is open.
    const Finished underDialog =
        runProgram(folder, "menu \"О программе\"\n"
                           "wait open \"Нет такого окна\" 300\n");
    EXPECT_EQ(underDialog.status, QProcess::NormalExit) << underDialog.output;
    EXPECT_EQ(underDialog.code, 2) << underDialog.output;

    const Finished badLine = runProgram(folder, "jump\n");
    EXPECT_EQ(badLine.status, QProcess::NormalExit) << badLine.output;
    EXPECT_EQ(badLine.code, 2) << badLine.output;
    EXPECT_NE(badLine.output.find("session.txt:1: unknown command \"jump\""), std::string::npos)
        << badLine.output;
}

TEST(ProgramExit, ScriptThatEndsWithTheMenuLeavesWithCodeZero)
{
    testsupport::TempWorkFolder folder;
    const Finished finished = runProgram(folder, "answer message OK\n"
                                                 "answer message OK\n"
                                                 "menu \"Выход\"\n");
    EXPECT_EQ(finished.status, QProcess::NormalExit) << finished.output;
    EXPECT_EQ(finished.code, 0) << finished.output;
    EXPECT_NE(finished.output.find("script done"), std::string::npos) << finished.output;
}

TEST(ProgramExit, StopBoxAbortEndsWithCodeOneAndNoCrash)
{
    testsupport::TempWorkFolder folder;
    writeOldPriceList();
    // A folder in the way of a reference file: its re-creation fails and the stop box names it.
    std::filesystem::create_directory(folder.file("proiz.tps"));
    const Finished finished = runProgram(folder, "wait open \"Проверка баз данных\"\n"
                                                 "answer message Abort\n"
                                                 "press ?BUTTON1\n");
    EXPECT_EQ(finished.status, QProcess::NormalExit) << finished.output;
    EXPECT_EQ(finished.code, 1) << finished.output;
    EXPECT_NE(finished.output.find("-> Abort"), std::string::npos) << finished.output;
    // The files it could re-create are there and whole: the program closed them in order.
    RecordFile& prices = PRIOSN();
    EXPECT_EQ(prices.open(), 0);
    EXPECT_EQ(prices.records(), 0);
    prices.close();
}

TEST(SecondCopy, SaysOnceThatAnotherCopyWorksWithTheFolderAndOnlyReads)
{
    testsupport::TempWorkFolder folder;
    // This process is the first copy: it holds the folder and the data files for writing.
    platform::storage::FolderLock first;
    ASSERT_TRUE(first.acquire(folder.path().string()));
    DictionaryInit();
    std::vector<FileRelation*> held;
    for (FileRelation* relation : {RelatePRIOSN, RelateKORZAK, RelateSPRPR, RelatePROIZ,
                                   RelateSPRMAN, RelateREKV, RelateREKV_D}) {
        ASSERT_EQ(relation->open(), 0);
        held.push_back(relation);
    }
    KORZAK().clearBuffer();
    K().KOD = 7;
    K().KOL = 2;
    ASSERT_EQ(KORZAK().add(), 0);

    const Finished second = runProgram(folder, "answer message OK\n"
                                               "menu \"Просмотр прайс-листа и заказ товара\"\n"
                                               "wait open \"Прайс-лист/Заказ\"\n"
                                               "dump\n"
                                               "close\n"
                                               "wait close \"Прайс-лист/Заказ\"\n"
                                               "menu \"Выход\"\n");
    for (FileRelation* relation : held)
        relation->close();
    DictionaryKill();

    EXPECT_EQ(second.status, QProcess::NormalExit) << second.output;
    EXPECT_EQ(second.code, 0) << second.output;
    EXPECT_NE(second.output.find("script done"), std::string::npos) << second.output;
    // One box, and it says why the copy only reads; no refused open is reported.
    std::size_t boxes = 0;
    for (std::size_t at = second.output.find("message \""); at != std::string::npos;
         at = second.output.find("message \"", at + 1))
        ++boxes;
    EXPECT_EQ(boxes, 1u) << second.output;
    EXPECT_NE(second.output.find("Программа уже работает с этой папкой"), std::string::npos)
        << second.output;
    EXPECT_EQ(second.output.find("Нет доступа"), std::string::npos) << second.output;
    // The basket the first copy holds is shown by the second.
    EXPECT_NE(second.output.find("row 1 \"7"), std::string::npos) << second.output;
}

// Past a file size limit a write fails like one on a full disk: the load says so, the program
// goes on and ends normally, and no file is left half-written beside the price list.
TEST(ProgramExit, AFileSizeLimitIsReportedAsAFullDiskAndTheProgramGoesOn)
{
    testsupport::TempWorkFolder folder;
    std::string lines;
    for (int i = 1; i <= 20000; ++i)
        lines += std::to_string(i) + ";OB-" + std::to_string(i)
                 + ";Деталь с длинным названием;Легковые;1;10;Bosch;;;Группа\n";
    testsupport::writeFileBytes(folder.file("big.txt"), platform::text::utf8ToCp1251(lines));
    const Finished finished =
        runProgram(folder,
                   "menu \"Просмотр прайс-листа и заказ товара\"\n"
                   "wait open \"Прайс-лист/Заказ\"\n"
                   "press ?BUTTON7\n"
                   "wait open \"Загрузка прайс-листа\"\n"
                   "type ?FNAME \"big.txt\"\n"
                   "answer message OK\n"
                   "press ?BUTTON2\n"
                   "wait idle 60000\n"
                   "close\n"
                   "wait close \"Загрузка прайс-листа\"\n"
                   "close\n"
                   "wait close \"Прайс-лист/Заказ\"\n"
                   "answer message OK\n"
                   "answer message OK\n"
                   "menu \"Выход\"\n",
                   512 * 1024);
    EXPECT_EQ(finished.status, QProcess::NormalExit) << finished.output;
    EXPECT_EQ(finished.code, 0) << finished.output;
    EXPECT_NE(finished.output.find("Нет места на диске"), std::string::npos) << finished.output;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename().string().find(".new-"), std::string::npos)
            << entry.path();
}

// The start needs no writable temporary folder: the definitions compiled into the program are
// read where they are. What still keeps the program from running is said in a box, and the
// program ends with a code of its own instead of an abort that says nothing.
TEST(ProgramExit, StartsWithoutAWritableTemporaryFolderAndSaysWhatKeepsItFromRunning)
{
    testsupport::TempWorkFolder folder;
    const Finished started =
        runProgram(folder,
                   "wait open \"Программа заказов ООО \\\"Автоцентр ТОРН\\\" "
                   "(ver 4.1)\" 10000\n"
                   "answer message OK\n"
                   "answer message OK\n"
                   "menu \"Выход\"\n",
                   RLIM_INFINITY, {{QStringLiteral("TMPDIR"), QStringLiteral("/proc")}});
    EXPECT_EQ(started.status, QProcess::NormalExit) << started.output;
    EXPECT_EQ(started.code, 0) << started.output;
    EXPECT_NE(started.output.find("script done"), std::string::npos) << started.output;

    // A frame whose definition cannot be read.
    QTemporaryDir broken;
    ASSERT_TRUE(QDir().mkpath(broken.filePath(QStringLiteral("windows"))));
    testsupport::writeFileBytes(
        broken.filePath(QStringLiteral("windows/quelb001.json")).toStdString(), "{ \"module\": ");
    const std::filesystem::path previous = platform::ui::resourceFolder();
    platform::ui::setResourceFolder(broken.path().toStdString());
    platform::ui::TestDriver driver;
    driver.answerMessage(platform::ui::Button::Ok);
    ASSERT_EQ(driver.run(), "");
    std::string escaped;
    try {
        MainProgram();
    } catch (const std::exception& error) {
        escaped = error.what();
    }
    const int code = platform::ui::programExitCode();
    platform::ui::resetProgramEnd();
    platform::ui::setResourceFolder(previous);
    EXPECT_EQ(escaped, "");
    EXPECT_EQ(code, platform::ui::FailedExitCode);
    ASSERT_EQ(driver.messages().size(), 1u);
    const std::string said = platform::ui::shownText(driver.messages()[0]);
    EXPECT_EQ(said.rfind("Программа не может продолжить работу: ", 0), 0u) << said;
    EXPECT_NE(said.find("quelb001.json"), std::string::npos) << said;
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
}

// A shutdown's or a logout's signal closes the program as "Выход" does: the price-list window
// stores its sizes as it closes (a dialog of it open or not), the frame clears the selection
// marks, the process ends with code 0 and leaves nothing in the temporary folder.
TEST(ProgramExit, ShutdownSignalsCloseTheProgramAsItsExitDoes)
{
    testsupport::TempWorkFolder folder;
    for (const int signal : {SIGTERM, SIGHUP}) {
        const bool underDialog = signal == SIGHUP;
        std::filesystem::remove(folder.file("quelbarto.ini"));
        e2e::writeManufacturers({{"Bosch", 1}, {"Mann", 1}});
        QTemporaryDir temporary;
        QTemporaryDir runtime; // a session's own, as a desktop sets it, so Qt makes none in TMPDIR
        std::string script = "menu \"Просмотр прайс-листа и заказ товара\"\n"
                             "wait open \"Прайс-лист/Заказ\"\n";
        if (underDialog)
            script += "press ?BUTTON7\n"
                      "wait open \"Загрузка прайс-листа\"\n";
        const Finished finished =
            runAndSignal(folder, script, signal,
                         {{QStringLiteral("TMPDIR"), temporary.path()},
                          {QStringLiteral("XDG_RUNTIME_DIR"), runtime.path()}});
        EXPECT_EQ(finished.status, QProcess::NormalExit) << signal << finished.output;
        EXPECT_EQ(finished.code, 0) << signal << finished.output;
        EXPECT_NE(finished.output.find("script done"), std::string::npos) << finished.output;
        const std::string settings = testsupport::readFileBytes(folder.file("quelbarto.ini"));
        EXPECT_NE(settings.find("[sizeprice]"), std::string::npos) << signal << settings;
        EXPECT_NE(settings.find("w3="), std::string::npos) << signal << settings;
        EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0, 0})) << signal;
        EXPECT_TRUE(QDir(temporary.path())
                        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                        .isEmpty())
            << signal;
    }
}

namespace {

// Makes the folder read-only for a child process about to start: a read-only bind mount in a
// mount namespace of its own (root passes over permission bits). False when that cannot be
// done here.
bool readOnlyMountInThisProcess(const std::string& folder)
{
    return ::unshare(CLONE_NEWNS) == 0
           && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
           && ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0
           && ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0
           && ::chdir(folder.c_str()) == 0 && ::access(".", W_OK) != 0;
}

bool readOnlyMountPossible(const std::string& folder)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(readOnlyMountInThisProcess(folder) ? 0 : 1);
    int status = 1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

// A working folder nobody may write in (a read-only disk) shows its data, read only, after one
// notice: no refused open, no empty list.
TEST(ReadOnlyFolder, ShowsItsDataAfterOneNotice)
{
    testsupport::TempWorkFolder folder;
    DictionaryInit();
    for (FileRelation* relation : {RelatePRIOSN, RelateKORZAK, RelateSPRPR, RelatePROIZ,
                                   RelateSPRMAN, RelateREKV, RelateREKV_D})
        ASSERT_EQ(relation->open(), 0);
    PRIOSN().clearBuffer();
    PR().KOD = 5;
    PR().NAIM = w("Фильтр масляный");
    ASSERT_EQ(PRIOSN().add(), 0);
    KORZAK().clearBuffer();
    K().KOD = 7;
    K().KOL = 2;
    ASSERT_EQ(KORZAK().add(), 0);
    for (FileRelation* relation : {RelatePRIOSN, RelateKORZAK, RelateSPRPR, RelatePROIZ,
                                   RelateSPRMAN, RelateREKV, RelateREKV_D})
        relation->close();
    DictionaryKill();

    const std::string path = folder.path().string();
    std::function<void()> inChild;
    std::vector<std::filesystem::path> unwritable;
    if (::geteuid() == 0) {
        if (!readOnlyMountPossible(path))
            GTEST_SKIP() << "no read-only bind mount can be made here (no mount namespace)";
        inChild = [path] {
            if (!readOnlyMountInThisProcess(path))
                ::_exit(3);
        };
    }
    const std::string script = "answer message OK\n"
                               "menu \"Просмотр прайс-листа и заказ товара\"\n"
                               "wait open \"Прайс-лист/Заказ\"\n"
                               "dump\n"
                               "close\n"
                               "wait close \"Прайс-лист/Заказ\"\n"
                               "menu \"Выход\"\n";
    testsupport::writeFileBytes(folder.file("session.txt"), script);
    if (!inChild) {
        // Without root, the permission bits make it read-only.
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            unwritable.push_back(entry.path());
        unwritable.push_back(folder.path());
        for (const auto& entry : unwritable)
            std::filesystem::permissions(entry, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
    }
    const std::filesystem::path output =
        folder.path().parent_path() / (folder.path().filename().string() + "-out.txt");
    QProcess program;
    if (inChild)
        program.setChildProcessModifier(inChild);
    startProgram(program, folder, script,
                 {{QStringLiteral("QUELB_SCRIPT_OUTPUT"), QString::fromStdString(output.string())}});
    Finished finished = waitForEnd(program, folder);
    finished.output = testsupport::readFileBytes(output);
    for (const auto& entry : unwritable)
        std::filesystem::permissions(entry, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    std::filesystem::remove(output);

    EXPECT_EQ(finished.status, QProcess::NormalExit) << finished.output;
    EXPECT_EQ(finished.code, 0) << finished.output;
    EXPECT_NE(finished.output.find("script done"), std::string::npos) << finished.output;
    std::size_t boxes = 0;
    for (std::size_t at = finished.output.find("message \""); at != std::string::npos;
         at = finished.output.find("message \"", at + 1))
        ++boxes;
    EXPECT_EQ(boxes, 1u) << finished.output;
    EXPECT_NE(finished.output.find("Папка программы доступна только для чтения"), std::string::npos)
        << finished.output;
    EXPECT_EQ(finished.output.find("Нет доступа"), std::string::npos) << finished.output;
    EXPECT_NE(finished.output.find("Фильтр масляный"), std::string::npos) << finished.output;
    EXPECT_NE(finished.output.find("row 1 \"7"), std::string::npos) << finished.output;
}
