#include "app/startup/KeyboardGuard.h"
#include "app/startup/LocaleOverrides.h"
#include "app/startup/ProgramModules.h"
#include "net/ErrorTextIndex.h"
#include "net/HttpClient.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Locale.h"
#include "tests/support/CommaLocale.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>

using platform::text::w;
using platform::ui::Locale;

namespace {

uint32_t version(int major, int minor)
{
    return static_cast<uint32_t>(major) | static_cast<uint32_t>(minor) << 8;
}

TEST(KeyboardGuard, QualifiesOnlyWithMajorFiveAndMinorOneOrMore)
{
    for (auto [major, minor] : {std::pair{5, 1}, {5, 2}, {6, 1}, {6, 2}, {10, 1}})
        EXPECT_TRUE(app::KeyboardGuardQualifies(version(major, minor))) << major << "." << minor;
    // The minor version is tested on its own: 6.0 and 10.0 do not qualify.
    for (auto [major, minor] : {std::pair{6, 0}, {5, 0}, {10, 0}, {4, 10}, {0, 0}})
        EXPECT_FALSE(app::KeyboardGuardQualifies(version(major, minor))) << major << "." << minor;
    // Bytes above the minor version do not count.
    EXPECT_TRUE(app::KeyboardGuardQualifies(version(6, 1) | 0x1DB10000u));
}

class LocaleOverrides : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Locale::instance().reset();
        app::SetLocaleOverrides();
    }
    void TearDown() override { Locale::instance().reset(); }
};

TEST_F(LocaleOverrides, EveryEntryIsAccepted)
{
    for (const auto& [entry, value] : app::LocaleOverrideTable())
        EXPECT_EQ(Locale::instance().entry(entry), w(value)) << static_cast<int>(entry);
    EXPECT_EQ(Locale::instance().buttonCaption(2), w("&Да"));
    EXPECT_EQ(Locale::instance().buttonCaption(4), w("&Нет"));
    EXPECT_EQ(Locale::instance().shortMonthName(5), w("Май"));
    EXPECT_EQ(Locale::instance().longMonthName(12), w("декабря"));
    EXPECT_EQ(Locale::instance().morningMark(), w("ут"));
    EXPECT_EQ(Locale::instance().afternoonMark(), w("вч"));
}

TEST_F(LocaleOverrides, UpperCaseFollowsTheCaseTable)
{
    EXPECT_EQ(platform::text::upper(w("ёлка и щука, yo")), w("ЁЛКА И ЩУКА, YO"));
    EXPECT_EQ(platform::text::upper(w("абвгдежзийклмнопрстуфхцчшщъыьэюя")),
              w("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ"));
}

TEST_F(LocaleOverrides, StorageErrorsSpeakRussian)
{
    EXPECT_EQ(platform::storage::errorTextOf(47), w("Неверная структура файла"));
    EXPECT_EQ(platform::storage::errorTextOf(2), w("Файл не найден"));
    EXPECT_EQ(platform::storage::errorTextOf(801), w("Не найдена переменная"));
}

} // namespace

// The runtime around a run: the error-text table filled at the start, its index (built by the
// first client) released at the end.
TEST(ProgramRuntime, StartsTheModulesWithZeroAndEndsThemWithNonZero)
{
    {
        const platform::system::ProgramRuntime runtime(app::ProgramModules());
        net::HttpClient client;
        client.Init();
        EXPECT_EQ(net::errorTextIndex().records(), 909u);
        client.Kill();
    }
    EXPECT_EQ(net::errorTextIndex().records(), 0u);

    static std::vector<int> calls;
    calls.clear();
    {
        const platform::system::ProgramRuntime runtime(
            {[](int exiting) { calls.push_back(10 + exiting); },
             [](int exiting) { calls.push_back(20 + exiting); }});
        EXPECT_EQ(calls, (std::vector<int>{10, 20}));
    }
    EXPECT_EQ(calls, (std::vector<int>{10, 20, 21, 11}));
}

// A write past the file size limit fails with EFBIG under the runtime; without it the process
// would die of the signal.
TEST(ProgramRuntime, AWritePastTheFileSizeLimitFailsInsteadOfEndingTheProcess)
{
    char name[] = "/tmp/runtime-limit-XXXXXX";
    const int descriptor = ::mkstemp(name);
    ASSERT_GE(descriptor, 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        std::signal(SIGXFSZ, SIG_DFL);
        const platform::system::ProgramRuntime runtime({});
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string block(8192, 'x');
        const ssize_t written = ::pwrite(descriptor, block.data(), block.size(), 4096);
        ::_exit(written < 0 && errno == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(descriptor);
    std::remove(name);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Qt gives the C library the environment's locale; the runtime takes the program's own number
// rules back, so whatever is still read or written through the C library keeps its point.
TEST(ProgramRuntime, TakesItsOwnNumberRulesWhateverLocaleTheEnvironmentGives)
{
    const testsupport::CommaLocale comma;
    if (!comma.available())
        GTEST_SKIP() << "no locale with a decimal comma is installed (scripts/setup makes one)";
    {
        const platform::system::ProgramRuntime runtime({});
        EXPECT_STREQ(std::localeconv()->decimal_point, ".");
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", 14225.79); // locale probe
        EXPECT_STREQ(text, "14225.79");
    }
}
