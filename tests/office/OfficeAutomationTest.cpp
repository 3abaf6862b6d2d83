#include "RecordingServer.h"

#include "office/ExcelAutomation.h"

using officetest::RecordingTest;
using Texts = std::vector<std::string>;

namespace {

class OfficeAutomationTest : public RecordingTest
{
protected:
    // Started as the ordering windows start it: create 1, activate 0, visible 0.
    void start()
    {
        m_excel.Init(m_window.get(), 1, 1, 0, 0);
        texts().clear();
    }
    office::ExcelAutomation m_excel;
};

TEST_F(OfficeAutomationTest, InitCreatesTheApplicationOnceAndAlwaysSendsVisible)
{
    m_excel.Init(m_window.get(), 1, 1, 0, 0);
    EXPECT_TRUE(ole().hasApplication());
    EXPECT_EQ(ole().language(), 1033);
    // The version read went to an empty control, so only the write reached the new server.
    EXPECT_EQ(texts(), (Texts{"write Visible = 0"}));

    // An application that answers a version is not created again.
    m_recording->answers["Application.Version"] = "11.0";
    texts().clear();
    m_excel.Init(m_window.get(), 1, 1, 1, 2);
    EXPECT_EQ(texts(), (Texts{"read Application.Version", "read Application.Activate",
                              "write Visible = 1"}));
}

TEST_F(OfficeAutomationTest, InitWithoutCreateNeverCreates)
{
    m_excel.Init(m_window.get(), 1, 0, 0, 1);
    EXPECT_FALSE(ole().hasApplication());
    EXPECT_EQ(m_excel.IsRunning(), 0);
    EXPECT_EQ(m_excel.control(), 1);
}

TEST_F(OfficeAutomationTest, PrefixIsPutInFrontOfEveryPathAndKeepsLeadingBlanks)
{
    start();
    m_excel.GetFontBold();
    m_excel.SetPrefix("Selection.   ");
    EXPECT_EQ(m_excel.swith(), "Selection.");
    m_excel.GetFontBold();
    m_excel.SelectRange("A1");
    m_excel.ClearPrefix();
    m_excel.SetPrefix("  X.");
    EXPECT_EQ(m_excel.swith(), "  X.");
    EXPECT_EQ(texts(), (Texts{"read Selection.Font.Bold", "read Selection.Selection.Font.Bold",
                              "read Selection.Range(\"A1\").Select"}));
    m_excel.SetPrefix(std::string(300, 'p'));
    EXPECT_EQ(m_excel.swith().size(), 255u);
}

TEST_F(OfficeAutomationTest, FlagsAreOneOrZeroAndNumbersSigned)
{
    start();
    m_excel.SetFontBold(2);
    m_excel.SetFontItalic(0);
    m_excel.SetDisplayAlerts(255);
    m_excel.SetScreenUpdating(1);
    m_excel.SetFontUnderline(7);
    m_excel.SetVisible(3);
    m_excel.SetFontSize(-1);
    m_excel.SetWindowState1();
    m_excel.SetWindowState2();
    EXPECT_EQ(texts(), (Texts{"write Selection.Font.Bold = 1", "write Selection.Font.Italic = 0",
                              "write DisplayAlerts = 1", "write ScreenUpdating = 1",
                              "write Selection.Font.Underline = 1", "write Visible = 1",
                              "write Selection.Font.Size = -1",
                              "write Application.WindowState = 1",
                              "write Application.WindowState = 2"}));
}

TEST_F(OfficeAutomationTest, SetFontSkipsABlankNameAndAZeroAlignment)
{
    start();
    m_excel.SetFont("   ", 12, 5, 1, 0, 0);
    EXPECT_EQ(texts(), (Texts{"write Selection.Font.Size = 12", "write Selection.Font.Bold = 1",
                              "write Selection.Font.Italic = 0"}));
    texts().clear();
    m_excel.SetFont("Arial", 10, 3, 0, 1, 7);
    EXPECT_EQ(texts(), (Texts{"write Selection.Font.Name = Arial", "write Selection.Font.Size = 10",
                              "write Selection.Font.Bold = 0", "write Selection.Font.Italic = 1",
                              "write Selection.HorizontalAlignment = 7"}));
}

TEST_F(OfficeAutomationTest, AnswersReadAsTheirLeadingWholeNumber)
{
    EXPECT_EQ(office::OfficeAutomation::numberOf("  12.9xyz"), 12);
    EXPECT_EQ(office::OfficeAutomation::numberOf("-3,7"), -3);
    EXPECT_EQ(office::OfficeAutomation::numberOf("1.5e2"), 150);
    EXPECT_EQ(office::OfficeAutomation::numberOf("True"), 0);
    EXPECT_EQ(office::OfficeAutomation::numberOf(""), 0);
    EXPECT_EQ(office::OfficeAutomation::numberOf("1e30"), INT32_MAX);
    start();
    m_recording->answers["Application.Version"] = "11.0";
    m_recording->answers["Selection.Font.Size"] = "10.75";
    EXPECT_EQ(m_excel.GetVersion(), 11);
    EXPECT_EQ(m_excel.GetFontSize(), 10);
    EXPECT_EQ(m_excel.IsRunning(), 1);
}

TEST_F(OfficeAutomationTest, AnswersArePaddedOrCutTo255)
{
    start();
    m_recording->answers["Selection.Font.Name"] = "Arial";
    m_recording->answers["ActiveSheet.Name"] = std::string(300, 'n');
    const std::string name = m_excel.GetFontName();
    EXPECT_EQ(name.size(), 255u);
    EXPECT_EQ(name.substr(0, 6), "Arial ");
    EXPECT_EQ(m_excel.GetActiveSheetName(), std::string(255, 'n'));
}

TEST_F(OfficeAutomationTest, RunMacroQuitAndClipboardCommands)
{
    start();
    m_excel.RunMacro("\"Totals\"");
    m_excel.Copy();
    m_excel.Cut();
    m_excel.Paste();
    m_excel.Activate();
    m_excel.Quit();
    EXPECT_EQ(texts(), (Texts{"read Application.Run(\"Totals\")", "read Selection.Copy",
                              "read Selection.Cut", "read Selection.Paste",
                              "read Application.Activate", "read Quit"}));
    EXPECT_FALSE(ole().hasApplication()) << "Quit deactivates the control";
}

TEST_F(OfficeAutomationTest, ReportExceptionIsAPropertyOfTheControl)
{
    start();
    m_excel.SetReportException(5);
    EXPECT_TRUE(ole().reportException());
    m_excel.SetReportException(0);
    EXPECT_FALSE(ole().reportException());
    EXPECT_TRUE(texts().empty());
}

TEST_F(OfficeAutomationTest, AWrongControlNumberSendsNothingAndReadsZero)
{
    m_excel.Init(m_window.get(), 7, 1, 0, 0);
    EXPECT_EQ(m_excel.GetFontBold(), 0);
    EXPECT_EQ(m_excel.GetFontName(), std::string(255, ' '));
    EXPECT_TRUE(texts().empty());
}

} // namespace
