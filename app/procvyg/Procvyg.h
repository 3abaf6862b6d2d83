#pragma once

#include "platform/text/FixedString.h"
#include "platform/ui/WindowController.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform::storage {
class View;
}
namespace office {
class ExcelAutomation;
class OutlookAutomation;
}

// The order save window: the user picks the format and the file name, types a comment, may
// choose to mail the file to a manager, and presses "Выполнить"; the file is written (and
// mailed) on the next timer tick and the window closes.
namespace app {

class Procvyg : public platform::ui::WindowController
{
public:
    Procvyg(int32_t basketSortTab, double totalWeight);
    ~Procvyg() override;

    int init() override;
    int kill() override;
    int takeAccepted() override;
    int takeSelected() override;
    int takeWindowEvent() override;

    // The chosen name with the format's extension: appended unless the name (trailing blanks
    // removed) already ends in exactly ".txt" or ".xls" (the test is case-sensitive).
    static std::string withExtension(std::string_view name, bool workbook);
    // The name less its last four characters, whatever they are, plus the format's extension.
    static std::string withReplacedExtension(std::string_view name, bool workbook);

private:
    void chooseFileName();
    int execute();
    void fixFileExtension(bool workbook);
    void showManagerChoice();
    void saveOrder();
    // Mails the saved file to the manager; the reason when the mail did not go, else "".
    std::string mailOrder();
    // The name of the manager chosen in the list.
    std::string managerName();

    int32_t m_basketSortTab;
    double m_totalWeight;

    uint8_t m_typeKod = 0;                          // TYPEKOD: 0 text, 1 Excel
    platform::text::FixedString<150> m_fileName;    // FNAME1
    platform::text::FixedString<200> m_comment;     // KOMMENT
    uint8_t m_mail = 0;                             // FLGMAIL
    platform::text::FixedString<30> m_managerEmail; // ManagerEmail
    uint8_t m_fileNameChosen = 0;
    uint8_t m_saveState = 0; // 0 idle, 1 save requested, 3 done
    platform::text::FixedString<150> m_dialogFileName;

    std::unique_ptr<platform::storage::View> m_managers;
    std::unique_ptr<office::ExcelAutomation> m_excel;     // started on ?SMEXCEL when needed
    std::unique_ptr<office::OutlookAutomation> m_outlook; // started on ?SMOUTLOOK when needed
    bool m_filesOpened = false;
};

// The procedure as the price-list window calls it; the response goes to LastResponse.
void procvyg(int32_t basketSortTab, double totalWeight);

} // namespace app
