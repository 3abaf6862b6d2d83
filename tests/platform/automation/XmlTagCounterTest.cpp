#include "platform/automation/workbook/XmlTagCounter.h"

#include <gtest/gtest.h>

#include <string>

using platform::automation::workbook::XmlTagCounter;

namespace {

const std::string kSheet = "<?xml version=\"1.0\"?><x:worksheet><x:sheetData><x:row r=\"1\">"
                           "<x:c r=\"A1\" s=\"2\"/><c/><c>\n<v>1</v></c><cols/><col min=\"1\"/>"
                           "<cc/><c2/></x:row><c\tt=\"s\"><v>0</v></c><c\r\n/></x:sheetData>"
                           "</x:worksheet>";

} // namespace

// A chunk may end anywhere, in the middle of a tag's name or its prefix included.
TEST(XmlTagCounter, CountsTheSameWhereverTheChunksBreak)
{
    XmlTagCounter whole("c");
    whole.add(kSheet);
    EXPECT_EQ(whole.count(), 5) << "<col>, <cols>, <cc>, <c2> and end tags are not cells";
    for (size_t first = 0; first <= kSheet.size(); ++first) {
        for (size_t second = first; second <= kSheet.size(); second += 7) {
            XmlTagCounter pieces("c");
            pieces.add(std::string_view(kSheet).substr(0, first));
            pieces.add(std::string_view(kSheet).substr(first, second - first));
            pieces.add(std::string_view(kSheet).substr(second));
            ASSERT_EQ(pieces.count(), 5) << "breaks at " << first << " and " << second;
        }
    }
}

TEST(XmlTagCounter, OneByteAtATimeAndOtherNames)
{
    const std::string texts = "<sst><si><t>a</t></si><x:si/><si\n/><sii/><s/></sst>";
    XmlTagCounter counter("si");
    for (const char c : texts)
        counter.add(std::string_view(&c, 1));
    EXPECT_EQ(counter.count(), 3);
}
