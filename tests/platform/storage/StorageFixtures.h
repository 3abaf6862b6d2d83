#pragma once

#include "platform/storage/ErrorState.h"
#include "platform/storage/Layout.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"
#include "tests/support/TempWorkFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// Small layouts of the storage tests: an item file with keys of every kind and a contact file
// with a unique two-component key.
namespace storagetest {

using platform::text::FixedString;
using platform::text::w;

#pragma pack(push, 1)
struct Item
{
    int32_t code;
    FixedString<20> name;
    FixedString<10> maker;
    double price;
    int16_t pack;
    uint8_t mark;
};

struct Contact
{
    FixedString<20> name;
    FixedString<20> mail;
};
#pragma pack(pop)

enum ItemKey { ByCode, ByName, ByMaker, ByMakerName, ByPrice, ByNameAgain, ByNameCase };

inline platform::storage::FileLayout itemLayout(std::string password = {})
{
    using Builder = platform::storage::LayoutBuilder<Item>;
    return Builder("ITEMS", "IT")
        .field("CODE", &Item::code)
        .field("NAME", &Item::name)
        .field("MAKER", &Item::maker)
        .field("PRICE", &Item::price)
        .field("PACK", &Item::pack)
        .field("MARK", &Item::mark)
        .key("pocode", {"CODE"}, {true, true, true, false})
        .key("poname", {"NAME"}, {false, true, true, false})
        .key("pomaker", {"MAKER"}, {false, true, false, false})
        .key("pomakname", {"MAKER", "NAME"}, {false, true, true, false})
        .key("poprice", {"PRICE"}, {false, true, true, false})
        .key("ponamea", {"NAME"}, {false, true, true, false})
        .key("ponamecase", {"NAME"}, {false, false, false, false})
        .owner(std::move(password))
        .build();
}

inline platform::storage::FileLayout contactLayout()
{
    return platform::storage::LayoutBuilder<Contact>("CONTACTS", "C")
        .field("NAME", &Contact::name)
        .field("MAIL", &Contact::mail)
        .key("poname", {"NAME", "MAIL"}, {true, true, true, false})
        .build();
}

// Fills the buffer (names in UTF-8, stored as Windows-1251) and adds it; the code.
inline int addItem(platform::storage::RecordFile& file, int32_t code, const std::string& name,
                   const std::string& maker = "", double price = 0)
{
    file.clearBuffer();
    auto& item = file.record<Item>();
    item.code = code;
    item.name = w(name);
    item.maker = w(maker);
    item.price = price;
    return file.add();
}

// The codes met walking the key (file order when key < 0) from its start.
inline std::vector<int> walk(platform::storage::RecordFile& file, int key, bool forward = true)
{
    if (key < 0)
        file.setFileOrder();
    else
        file.setKey(key);
    std::vector<int> codes;
    while ((forward ? file.next() : file.previous()) == 0)
        codes.push_back(file.record<Item>().code);
    return codes;
}

// A temporary working folder with an empty item file, open for the test.
class ItemFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_file.create(), 0);
        ASSERT_EQ(m_file.open(), 0);
    }

    testsupport::TempWorkFolder m_folder;
    platform::storage::RecordFile m_file{itemLayout()};
};

} // namespace storagetest
