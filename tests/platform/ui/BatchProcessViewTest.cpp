#include "platform/ui/BatchProcess.h"

#include "platform/storage/Layout.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgressWindow.h"
#include "tests/support/DamagedPages.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform::ui;
using platform::storage::RecordFile;
using platform::storage::View;
using platform::text::w;

namespace {

#pragma pack(push, 1)
struct MarkRecord
{
    platform::text::FixedString<20> name;
    uint8_t mark;
};
#pragma pack(pop)

// Clears every record's mark through the view, as the program does when it ends.
class ClearMarks : public BatchProcess
{
public:
    ClearMarks(View& view, RecordFile& file)
        : BatchProcess(view)
        , m_file(file)
    {
    }

protected:
    int takeRecord() override
    {
        m_file.record<MarkRecord>().mark = 0;
        return m_file.put() == 0 ? Level::Benign : Level::Fatal;
    }

private:
    RecordFile& m_file;
};

class BatchProcessViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(0x22), 0);
        m_previous = setMessageHandler([this](const MessageRequest& request) {
            notices.push_back(request.caption);
            texts.push_back(request.text);
            return Button::Ok;
        });
    }
    void TearDown() override
    {
        setMessageHandler(m_previous);
        file.close();
    }

    std::vector<int> marks()
    {
        std::vector<int> values;
        file.setFileOrder();
        while (file.next() == 0)
            values.push_back(file.record<MarkRecord>().mark);
        return values;
    }

    testsupport::TempWorkFolder folder;
    RecordFile file{platform::storage::LayoutBuilder<MarkRecord>("MARKS", "MK")
                        .field("NAME", &MarkRecord::name)
                        .field("M", &MarkRecord::mark)
                        .build()};
    std::vector<std::string> notices;
    std::vector<std::string> texts;
    MessageHandler m_previous;
};

TEST_F(BatchProcessViewTest, EveryRecordIsWalkedAndWrittenThroughTheView)
{
    for (uint8_t mark : {1, 7, 0, 1}) { // any value is cleared, not only 1
        file.clearBuffer();
        file.record<MarkRecord>().mark = mark;
        ASSERT_EQ(file.add(), 0);
    }
    View view(file);
    ClearMarks process(view, file);
    ProgressWindow window;
    EXPECT_EQ(process.run(window), Response::Completed);
    EXPECT_EQ(process.processed(), 4);
    EXPECT_EQ(marks(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_TRUE(notices.empty());
}

TEST_F(BatchProcessViewTest, EmptyFileShowsTheNotice)
{
    View view(file);
    ClearMarks process(view, file);
    ProgressWindow window;
    EXPECT_EQ(process.run(window), Response::Completed);
    EXPECT_EQ(notices, (std::vector<std::string>{w("Нет записей")}));
}

// A walk that meets a damaged page late in the file says so and ends the process as not
// completed, rather than passing for the file's end; the count that starts the process meets
// it first, so nothing is written.
TEST_F(BatchProcessViewTest, DamageMetByTheWalkIsSaidAndEndsTheProcess)
{
    file.stream();
    for (int i = 0; i < 3000; ++i) {
        file.clearBuffer();
        file.record<MarkRecord>().mark = 1;
        ASSERT_EQ(file.add(), 0);
    }
    ASSERT_EQ(file.flush(), 0);
    ASSERT_EQ(file.close(), 0);
    std::string bytes;
    testsupport::damageRecordPage(folder.file("marks.tps"), 0, &bytes);
    ASSERT_EQ(file.open(0x22), 0);

    View view(file);
    ClearMarks process(view, file);
    ProgressWindow window;
    EXPECT_EQ(process.run(window), Response::Cancelled);
    EXPECT_EQ(process.processed(), 0);
    ASSERT_EQ(notices, (std::vector<std::string>{w("Ошибка")}));
    EXPECT_NE(texts[0].find("(36)"), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find("marks.tps"), std::string::npos) << texts[0];
    file.close();
    EXPECT_TRUE(testsupport::readFileBytes(folder.file("marks.tps")) == bytes);
    file.open(0x22);
}

} // namespace
