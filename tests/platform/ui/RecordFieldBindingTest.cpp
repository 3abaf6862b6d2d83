#include "platform/ui/RecordFieldBinding.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using namespace platform;

#pragma pack(push, 1)
struct Packed
{
    uint8_t flag;
    int32_t port; // at offset 1: never aligned
    int16_t count;
    double price;
    text::FixedString<5> name;
};
#pragma pack(pop)

storage::FileLayout layout()
{
    return storage::LayoutBuilder<Packed>("PACKED", "PK")
        .field("FLAG", &Packed::flag)
        .field("PORT", &Packed::port)
        .field("COUNT", &Packed::count)
        .field("PRICE", &Packed::price)
        .field("NAME", &Packed::name)
        .build();
}

// Number members of packed records are read and written through their bytes: the record
// around them is left as it was, whatever their alignment.
TEST(RecordFieldBinding, NumberFieldsOfAPackedRecordReadAndWriteInPlace)
{
    const storage::FileLayout fields = layout();
    Packed record{};
    record.flag = 7;
    record.port = 8080;
    record.name = "abc";
    auto* bytes = reinterpret_cast<std::byte*>(&record);

    auto port = ui::bindingToField(fields, bytes, "PK:PORT");
    ASSERT_TRUE(port);
    EXPECT_TRUE(port->isNumber());
    EXPECT_EQ(port->text(), "8080");
    port->setText("3128");
    EXPECT_EQ(int32_t{record.port}, 3128);
    EXPECT_EQ(record.flag, 7);

    auto count = ui::bindingToField(fields, bytes, "count");
    ASSERT_TRUE(count);
    count->setNumber(40000); // a whole variable keeps the low bits, as an assignment does
    EXPECT_EQ(int16_t{record.count}, static_cast<int16_t>(40000));

    auto price = ui::bindingToField(fields, bytes, "PK:PRICE");
    ASSERT_TRUE(price);
    price->setText("12,5");
    EXPECT_EQ(double{record.price}, 12.5);
    EXPECT_EQ(price->text(), "12.5");
    EXPECT_EQ(record.name.str(), "abc");
}

TEST(RecordFieldBinding, TextsAndUnknownNamesGiveNoBinding)
{
    const storage::FileLayout fields = layout();
    Packed record{};
    auto* bytes = reinterpret_cast<std::byte*>(&record);
    EXPECT_FALSE(ui::bindingToField(fields, bytes, "PK:NAME"));
    EXPECT_FALSE(ui::bindingToField(fields, bytes, "PK:NONE"));
}

} // namespace
