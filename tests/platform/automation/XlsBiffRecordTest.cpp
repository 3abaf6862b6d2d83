#include "platform/automation/workbook/BiffRecordReader.h"
#include "platform/automation/workbook/FormatError.h"

#include <gtest/gtest.h>

using namespace platform::automation::workbook;

TEST(XlsBiffRecord, TextsContinueAcrossPiecesWithTheirOwnWidth)
{
    BiffRecord record;
    // "ЖЖab": two UTF-16 characters, then the next piece restates the width as 8-bit. Then a
    // rich text "xy" with one formatting run whose 4 bytes straddle the pieces.
    record.pieces = {QByteArray::fromHex("0400"
                                         "01"
                                         "1604"
                                         "1604"),
                     QByteArray::fromHex("00"
                                         "6162"
                                         "0200"
                                         "08"
                                         "0100"
                                         "7879"
                                         "0000"),
                     QByteArray::fromHex("0100"
                                         "0300")};
    EXPECT_EQ(record.unicodeString(true), QString::fromUtf8("ЖЖab"));
    EXPECT_EQ(record.unicodeString(true), QStringLiteral("xy"));
    EXPECT_EQ(record.u16(), 3);
    EXPECT_EQ(record.remaining(), 0);
    EXPECT_THROW(record.u8(), FormatError);
}

TEST(XlsBiffRecord, RecordsAndTheirContinuationsAreGrouped)
{
    // NUMBER, then SST with two CONTINUE records, then EOF; the last record is cut short.
    const QByteArray stream = QByteArray::fromHex("03020200"
                                                  "AABB"
                                                  "FC000100"
                                                  "01"
                                                  "3C000200"
                                                  "0203"
                                                  "3C000000"
                                                  "0A000000"
                                                  "0300FF00"
                                                  "00");
    BiffRecordReader reader(stream, 0);
    EXPECT_EQ(reader.next().type, 0x0203);
    const BiffRecord sst = reader.next();
    EXPECT_EQ(sst.type, 0x00FC);
    EXPECT_EQ(sst.pieces.size(), 3U);
    EXPECT_EQ(reader.next().type, 0x000A);
    EXPECT_THROW(reader.next(), FormatError);
}
