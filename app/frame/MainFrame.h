#pragma once

#include "platform/ui/HelpService.h"
#include "platform/ui/HelpWindow.h" // HelpService.h needs the complete type
#include "platform/ui/WindowController.h"

#include <memory>

// The controller of the frame window: the menu and toolbar actions, the settings file and the
// database check when it opens, the selection marks cleared when it closes.
namespace app {

class MainFrame : public platform::ui::WindowController
{
public:
    MainFrame();
    ~MainFrame() override;

    int init() override { return MainInit(); }
    int kill() override { return MainKill(); }
    void openHook() override { MainOpenHook(); }
    int takeAccepted() override { return MainAccepted(); }
    int takeWindowEvent() override;

    int MainInit();
    int MainKill();
    void MainOpenHook();
    int MainAccepted();

private:
    // Creates the price list, manufacturers and applicability types anew and blanks the price
    // list window's saved list layouts.
    void rebuildPriceList();
    bool isAccepted(const char* label) const;
    // MainClientWidth and MainClientHeight from the frame's client area as it is now.
    void keepClientSize();

    std::unique_ptr<platform::ui::HelpService> m_help;
    bool m_procedureRegistered = false;
};

} // namespace app
