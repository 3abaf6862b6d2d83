#pragma once

#include "app/ipmprice/PriceLoadState.h"
#include "platform/text/FixedString.h"
#include "platform/ui/WindowController.h"

#include <cstdint>

namespace net {
class HttpClient;
}

// The price-list load dialog: the price list comes from a text file named by the user or is
// first downloaded as "quelbit.txt"; the work runs step by step on the window's timer.
namespace app {

class Ipmprice : public platform::ui::WindowController
{
public:
    Ipmprice(net::HttpClient& client, uint8_t& result);

    int init() override;
    int kill() override;
    int takeAccepted() override;
    int takeSelected() override;
    int takeWindowEvent() override;

private:
    void PriceLoadRun();
    void showWorking(const char* statusUtf8);
    void importPriceList();
    bool loadFilesSound();
    void lookUpFile();

    net::HttpClient& m_client;
    uint8_t& m_result;
    uint8_t m_source = 0; // 0 from a file, 1 from the Internet
    platform::text::FixedString<250> m_fileName;
    platform::text::FixedString<50> m_status;
    PriceLoadState m_state = PriceLoadState::Waiting;
    bool m_closing = false;
    bool m_filesOpened = false;
};

// Runs the dialog on the caller's thread; 0 when a price list was loaded, 1 when the user
// cancelled, the download or the load failed, or the window was closed before any load.
uint8_t ipmprice();

} // namespace app
