#include "platform/automation/workbook/CompoundFileReader.h"
#include "platform/automation/workbook/CompoundFileWriter.h"
#include "platform/automation/workbook/FormatError.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform::automation::workbook;

namespace {

QByteArray pattern(qsizetype size, int seed)
{
    QByteArray data(size, '\0');
    for (qsizetype index = 0; index < size; ++index) {
        data[index] = static_cast<char>((index * 31 + seed) & 0xFF);
    }
    return data;
}

} // namespace

TEST(XlsCompoundFile, SmallAndLargeStreamsRoundTrip)
{
    CompoundFileWriter writer;
    // Below, at and above the 4096-byte mini stream cutoff, an empty stream, and a name that
    // sorts before the others.
    const QList<QPair<QString, QByteArray>> streams = {
        {QStringLiteral("Workbook"), pattern(5000, 1)},
        {QStringLiteral("\x05SummaryInformation"), pattern(200, 2)},
        {QStringLiteral("Small"), pattern(4095, 3)},
        {QStringLiteral("Exact"), pattern(4096, 4)},
        {QStringLiteral("Empty"), QByteArray()},
        {QStringLiteral("A"), pattern(64, 5)},
    };
    for (const auto& [name, data] : streams) {
        writer.addStream(name, data);
    }
    const QByteArray file = writer.build();
    EXPECT_EQ(file.size() % 512, 0);

    const CompoundFileReader reader(file);
    EXPECT_EQ(reader.streamNames().size(), streams.size());
    for (const auto& [name, data] : streams) {
        const std::optional<QByteArray> read = reader.stream(name.toLower());
        ASSERT_TRUE(read) << name.toStdString();
        EXPECT_EQ(*read, data) << name.toStdString();
    }
    EXPECT_FALSE(reader.stream(QStringLiteral("Missing")));
}

TEST(XlsCompoundFile, StreamNeedingMoreThan109FatSectorsUsesDifat)
{
    // 109 FAT sectors cover about 6.8 MB.
    const QByteArray big = pattern(8 * 1024 * 1024 + 123, 7);
    CompoundFileWriter writer;
    writer.addStream(QStringLiteral("Workbook"), big);
    const QByteArray file = writer.build();
    const uint32_t difatSectors =
        static_cast<uint8_t>(file[72]) | (static_cast<uint8_t>(file[73]) << 8);
    EXPECT_GE(difatSectors, 1U);
    EXPECT_EQ(CompoundFileReader(file).stream(QStringLiteral("Workbook")), big);
}

TEST(XlsCompoundFile, DamagedFilesRaiseErrors)
{
    CompoundFileWriter writer;
    writer.addStream(QStringLiteral("Workbook"), pattern(9000, 9));
    const QByteArray good = writer.build();

    const auto open = [](const QByteArray& file) { return CompoundFileReader(file).streamNames(); };
    EXPECT_THROW(open(QByteArray()), FormatError);
    EXPECT_THROW(open(QByteArray(4096, 'x')), FormatError);
    EXPECT_THROW(open(good.left(600)), FormatError);

    // A FAT entry that points at itself would loop forever without the chain guard.
    QByteArray looped = good;
    const uint32_t fatSector = static_cast<uint8_t>(good[76]);
    const qsizetype fatOffset = (fatSector + 1) * 512;
    looped[fatOffset] = 0;
    looped[fatOffset + 1] = looped[fatOffset + 2] = looped[fatOffset + 3] = 0;
    EXPECT_THROW(CompoundFileReader(looped).stream(QStringLiteral("Workbook")), FormatError);

    // Random corruption anywhere: an error or a result, never a crash.
    std::mt19937 random(42);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = good;
        for (int flip = 0; flip < 8; ++flip) {
            damaged[static_cast<qsizetype>(random() % static_cast<uint32_t>(damaged.size()))] =
                static_cast<char>(random());
        }
        try {
            const CompoundFileReader reader(damaged);
            (void)reader.stream(QStringLiteral("Workbook"));
        } catch (const FormatError&) {
        }
    }
}
