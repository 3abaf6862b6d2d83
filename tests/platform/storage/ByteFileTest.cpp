#include "platform/storage/ByteFile.h"
#include "platform/storage/ErrorState.h"

#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using platform::storage::ByteFile;
namespace Error = platform::storage::Error;
using platform::storage::errorCode;
using platform::storage::errorFile;

namespace {

int writeBytes(ByteFile& file, const std::string& text)
{
    for (char c : text) {
        file.setByte(static_cast<uint8_t>(c));
        if (const int code = file.add(); code != 0)
            return code;
    }
    return 0;
}

std::string readBytes(ByteFile& file)
{
    std::string text;
    file.setToStart();
    while (file.next() == 0)
        text.push_back(static_cast<char>(file.byte()));
    return text;
}

} // namespace

TEST(ByteFile, WritesAndReadsTextByteByByteAcrossBufferBoundaries)
{
    testsupport::TempWorkFolder folder;
    ByteFile file;
    file.setDiskName("order.txt");
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(0x22), 0);

    std::string text;
    for (int i = 0; i < 200000; ++i)
        text.push_back(static_cast<char>(i % 251));
    text += "\xC0\xE1\r\n"; // Cyrillic bytes pass through unchanged
    ASSERT_EQ(writeBytes(file, text), 0);
    EXPECT_EQ(file.records(), static_cast<int64_t>(text.size()));

    EXPECT_EQ(readBytes(file), text);
    EXPECT_EQ(errorCode(), Error::RecordNotAvailable); // the loop ends on 33 past the end
    ASSERT_EQ(file.close(), 0);
    EXPECT_EQ(testsupport::readFileBytes(folder.file("order.txt")), text);
}

TEST(ByteFile, CreateReplacesAnExistingFileWithAnEmptyOne)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("quelbarto.ini"), "old contents");
    ByteFile file;
    file.setDiskName("quelbarto.ini");
    ASSERT_EQ(file.create(), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.file("quelbarto.ini")));
    EXPECT_EQ(std::filesystem::file_size(folder.file("quelbarto.ini")), 0u);
    ASSERT_EQ(file.open(), 0);
    EXPECT_EQ(file.next(), Error::RecordNotAvailable);
    EXPECT_EQ(file.records(), 0);
    EXPECT_EQ(file.close(), 0);
}

TEST(ByteFile, NamesResolveWithoutRegardToLetterCase)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("QUELBARTO.INI"), "[x]");
    ByteFile file;
    file.setDiskName("quelbarto.ini");
    ASSERT_EQ(file.open(0x40), 0);
    EXPECT_EQ(readBytes(file), "[x]");
    ASSERT_EQ(file.close(), 0);
    ASSERT_EQ(file.create(), 0); // replaces that file, makes no second one
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_EQ(std::filesystem::file_size(folder.file("QUELBARTO.INI")), 0u);
}

TEST(ByteFile, ReadsWhatWasJustAddedWithoutClosing)
{
    testsupport::TempWorkFolder folder;
    ByteFile file;
    file.setDiskName("t.txt");
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    ASSERT_EQ(writeBytes(file, "ab"), 0);
    EXPECT_EQ(readBytes(file), "ab");
    ASSERT_EQ(writeBytes(file, "c"), 0);
    EXPECT_EQ(readBytes(file), "abc");
    EXPECT_EQ(file.close(), 0);
}

TEST(ByteFile, DownloadRecordsOf40000BytesKeepTheRawBody)
{
    testsupport::TempWorkFolder folder;
    ByteFile file(40000);
    file.setDiskName("download.bin");
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(0x22), 0);

    std::string body;
    const std::size_t chunks[] = {40000, 17, 40000, 39999, 1};
    char fill = 'a';
    for (std::size_t n : chunks) {
        const std::string chunk(n, fill++);
        body += chunk;
        ASSERT_EQ(file.add(chunk), 0);
    }
    EXPECT_EQ(file.add(std::string(40001, 'x')), Error::RecordNotAvailable);
    ASSERT_EQ(file.close(), 0);
    EXPECT_EQ(testsupport::readFileBytes(folder.file("download.bin")), body);

    // Read back as full-size records, the last one shorter.
    ASSERT_EQ(file.open(0x40), 0);
    EXPECT_EQ(file.records(), 4);
    std::string read;
    std::size_t count = 0;
    file.setToStart();
    while (file.next() == 0) {
        ++count;
        EXPECT_LE(file.recordLength(), 40000u);
        read += file.recordView();
    }
    EXPECT_EQ(count, 4u);
    EXPECT_EQ(read, body);
    EXPECT_EQ(file.add(std::string_view("no")), Error::AccessDenied); // opened for reading
    EXPECT_EQ(file.close(), 0);
}

TEST(ByteFile, ErrorsCarryTheirCodeAndFileName)
{
    testsupport::TempWorkFolder folder;
    ByteFile file;
    file.setDiskName("missing.txt");
    EXPECT_EQ(file.open(), Error::FileNotFound);
    EXPECT_EQ(errorCode(), Error::FileNotFound);
    EXPECT_EQ(errorFile(), "missing.txt");
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.next(), Error::FileNotOpen);
    EXPECT_EQ(file.add(), Error::FileNotOpen);
    EXPECT_EQ(file.close(), Error::FileNotOpen);

    file.setDiskName("nofolder/x.txt");
    EXPECT_EQ(file.create(), Error::PathNotFound);
}

TEST(ByteFile, SecondWriterIsRefusedWhileTheFirstDeniesWriting)
{
    testsupport::TempWorkFolder folder;
    ByteFile first;
    first.setDiskName("shared.txt");
    ASSERT_EQ(first.create(), 0);
    ASSERT_EQ(first.open(0x22), 0);

    ByteFile second;
    second.setDiskName("shared.txt");
    EXPECT_EQ(second.open(0x22), Error::AccessDenied);
    EXPECT_EQ(second.open(0x42), Error::AccessDenied);
    EXPECT_EQ(second.open(0x40), 0); // reading stays possible
    EXPECT_EQ(second.close(), 0);
    EXPECT_EQ(first.close(), 0);
    EXPECT_EQ(second.open(0x22), 0);
    EXPECT_EQ(second.close(), 0);
}

TEST(ByteFile, FailedWriteIsReportedNeverSilent)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ByteFile file;
    file.setDiskName("/dev/full");
    ASSERT_EQ(file.open(0x42), 0);
    // The buffered bytes reach the device when the buffer fills: the add that flushes fails,
    // every later add fails too, and close reports it again.
    int code = 0;
    for (int i = 0; i < 70000 && code == 0; ++i) {
        file.setByte('x');
        code = file.add();
    }
    EXPECT_EQ(code, Error::DiskFull);
    EXPECT_EQ(file.add(), Error::DiskFull);
    EXPECT_EQ(file.close(), Error::DiskFull);
    EXPECT_EQ(errorCode(), Error::DiskFull);
}

TEST(ByteFile, FailedWriteAtCloseIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ByteFile file(40000);
    file.setDiskName("/dev/full");
    ASSERT_EQ(file.open(0x42), 0);
    ASSERT_EQ(file.add(std::string(100, 'x')), 0); // still in the buffer
    EXPECT_EQ(file.close(), Error::DiskFull);
}

TEST(ByteFile, CreateNeverEmptiesAFileSomeoneIsReading)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("text.txt"), "1;a\n2;b\n");
    ByteFile reader(1);
    reader.setDiskName("text.txt");
    ASSERT_EQ(reader.open(0x20), 0);
    ByteFile writer(40000);
    writer.setDiskName("text.txt");
    EXPECT_EQ(writer.create(), Error::AccessDenied);
    EXPECT_EQ(readBytes(reader), "1;a\n2;b\n");
    EXPECT_TRUE(reader.unchangedSinceOpen());
    reader.close();
    EXPECT_EQ(writer.create(), 0);
    EXPECT_EQ(testsupport::readFileBytes(folder.file("text.txt")), "");
}

TEST(ByteFile, OnlyRegularFilesOpen)
{
    testsupport::TempWorkFolder folder;
    std::filesystem::create_directory(folder.file("folder"));
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    for (const char* name : {"folder", "pipe"}) {
        ByteFile file(1);
        file.setDiskName(name);
        // A pipe without a writer must not hang the open.
        EXPECT_EQ(file.open(0x20), Error::AccessDenied) << name;
        EXPECT_EQ(file.open(0x22), Error::AccessDenied) << name;
        EXPECT_EQ(file.create(), Error::AccessDenied) << name;
    }
}

TEST(ByteFile, AChangeByAnotherWriterIsSeenAndInjectedReadErrorsAreReported)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("text.txt"), std::string(200000, 'x'));
    ByteFile file(1);
    file.setDiskName("text.txt");
    ASSERT_EQ(file.open(0x40), 0);
    EXPECT_EQ(file.sizeAtOpen(), 200000);
    EXPECT_TRUE(file.unchangedSinceOpen());

    ByteFile::failReadsFrom(100000, EIO);
    int64_t read = 0;
    int code = file.setToStart();
    while ((code = file.next()) == 0)
        ++read;
    ByteFile::failReadsFrom(-1, 0);
    EXPECT_GT(read, 0);
    EXPECT_LE(read, 100000);
    EXPECT_EQ(code, Error::ReadError);

    ASSERT_EQ(::truncate(folder.file("text.txt").c_str(), 1000), 0);
    EXPECT_FALSE(file.unchangedSinceOpen());
    file.close();
}
