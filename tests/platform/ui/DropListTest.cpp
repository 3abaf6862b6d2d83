#include "platform/storage/Layout.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/FixedString.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/DropList.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

using namespace platform::ui;
using platform::storage::RecordFile;

namespace {

#pragma pack(push, 1)
struct MakerRecord
{
    platform::text::FixedString<20> name;
    platform::text::FixedString<8> code;
};
#pragma pack(pop)

TEST(DropList, ChoosingAnEntryCopiesTheOtherFieldIntoTheVariable)
{
    testsupport::TempWorkFolder folder;
    platform::storage::setCurrentThread(1);
    RecordFile file(platform::storage::LayoutBuilder<MakerRecord>("MAKERS", "MK")
                        .field("NAME", &MakerRecord::name)
                        .field("CODE", &MakerRecord::code)
                        .key("byname", {"NAME"}, {.noCase = true})
                        .build());
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    for (const auto& [name, code] : {std::pair{"Mann", "MN"}, {"Bosch", "BS"}, {"Valeo", "VL"}}) {
        file.clearBuffer();
        file.record<MakerRecord>().name = name;
        file.record<MakerRecord>().code = code;
        ASSERT_EQ(file.add(), 0);
    }

    WindowDefinition definition;
    definition.module = "test";
    definition.label = "P1$WINDOW";
    definition.kind = "window";
    ControlDefinition control;
    control.number = 1;
    control.label = "?MAKER";
    control.kind = "droplist";
    definition.controls.push_back(control);
    Window window(definition);
    platform::text::FixedString<8> chosen;
    chosen = "VL";
    ASSERT_TRUE(window.bindControl(1, chosen));
    auto* list = dynamic_cast<DropList*>(window.control(1));
    ASSERT_NE(list, nullptr);

    platform::storage::View view(file, 0);
    list->fill(view, 0, 1);
    EXPECT_EQ(list->rows(), (std::vector<std::string>{"Bosch", "Mann", "Valeo"}));
    EXPECT_EQ(list->entries(), 3);

    ASSERT_TRUE(list->selectRow(2));
    EXPECT_EQ(chosen.str(), "MN");
    EXPECT_FALSE(list->selectRow(4));
    EXPECT_EQ(chosen.str(), "MN");
    file.close();
}

} // namespace
