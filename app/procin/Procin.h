#pragma once

#include "platform/ui/WindowController.h"

#include <memory>
#include <string>
#include <string_view>

namespace office {
class ExcelAutomation;
}

// The order-open window: a small "please wait" window that, on its first timer tick, reads the
// chosen order file into the basket (a workbook or a text file, told by its content whatever
// its name) and closes itself.
namespace app {

class Procin : public platform::ui::WindowController
{
public:
    explicit Procin(std::string_view orderFileName);
    ~Procin() override;

    int init() override;
    int kill() override;
    int takeAccepted() override;
    int takeWindowEvent() override;

private:
    void importOrder();

    std::string m_orderFileName;
    std::unique_ptr<office::ExcelAutomation> m_excel; // on ?SMEXCEL
    bool m_filesOpened = false;
    bool m_imported = false;
};

// Reads the order file (Windows-1251 name) into the basket as a dialog of the calling window;
// the response goes to LastResponse.
void procin(std::string_view orderFileName);

} // namespace app
