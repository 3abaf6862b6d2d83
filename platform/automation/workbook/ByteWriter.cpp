#include "platform/automation/workbook/ByteWriter.h"

#include <cstring>

namespace platform::automation::workbook {

void ByteWriter::u16(uint32_t value)
{
    u8(value);
    u8(value >> 8);
}

void ByteWriter::u32(uint32_t value)
{
    u16(value);
    u16(value >> 16);
}

void ByteWriter::f64(double value)
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    u32(static_cast<uint32_t>(bits));
    u32(static_cast<uint32_t>(bits >> 32));
}

void ByteWriter::putU16At(qsizetype offset, uint32_t value)
{
    bytes()[offset] = static_cast<char>(value & 0xFF);
    bytes()[offset + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void ByteWriter::putU32At(qsizetype offset, uint32_t value)
{
    putU16At(offset, value & 0xFFFF);
    putU16At(offset + 2, value >> 16);
}

} // namespace platform::automation::workbook
