// The real program, run as a child process offscreen: every way out ends with its exit code,
// never with a crash, and the windows close in order.
#include "app/dictionary/Dictionary.h"
#include "platform/storage/FolderLock.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
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

// Runs the program in the folder with the script (UTF-8 lines); with a file size limit, the
// program starts under it with the signal's default action, as a shell's `ulimit -f` leaves it.
// inChild runs in the child before the program starts; the script's output goes to outputFile
// (by default beside the script).
Finished runProgram(const testsupport::TempWorkFolder& folder, const std::string& script,
                    rlim_t fileSizeLimit = RLIM_INFINITY, std::function<void()> inChild = {},
                    std::filesystem::path outputFile = {})
{
    const std::filesystem::path scriptFile = folder.file("session.txt");
    if (outputFile.empty())
        outputFile = folder.file("session-out.txt");
    testsupport::writeFileBytes(scriptFile, script);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("QUELB_SCRIPT"), QString::fromStdString(scriptFile.string()));
    environment.insert(QStringLiteral("QUELB_SCRIPT_OUTPUT"), QString::fromStdString(outputFile.string()));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(QString::fromStdString(folder.path().string()));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.setChildProcessModifier([fileSizeLimit, inChild] {
        if (fileSizeLimit != RLIM_INFINITY) {
            std::signal(SIGXFSZ, SIG_DFL);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (inChild)
            inChild();
    });
    program.start(QStringLiteral(QUELB_PROGRAM_PATH), {});
    Finished finished;
    if (!program.waitForFinished(60000)) {
        program.kill();
        program.waitForFinished();
        finished.output = "(did not end)";
        return finished;
    }
    finished.status = program.exitStatus();
    finished.code = program.exitCode();
    finished.output = testsupport::readFileBytes(outputFile);
    return finished;
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
    const Finished finished = runProgram(folder, script, RLIM_INFINITY, inChild, output);
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
