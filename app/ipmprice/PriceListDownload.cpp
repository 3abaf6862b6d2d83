#include "app/ipmprice/PriceListDownload.h"

#include "app/dictionary/Dictionary.h"
#include "net/HttpClient.h"
#include "platform/system/WinInet.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <filesystem>

namespace app {

using platform::text::w;
namespace ui = platform::ui;

std::string PriceListDownload::targetFile()
{
    return (std::filesystem::current_path() / "quelbit.txt").string();
}

bool PriceListDownload::run()
{
    REKV().clearBuffer();
    REKV().setFileOrder();
    REKV().next();
    REKV_D().clearBuffer();
    REKV_D().setFileOrder();
    REKV_D().next();

    // The proxy stored in the requisites is named explicitly (INTERNET_OPEN_TYPE_PROXY): the
    // preconfigured access type would take the system's proxy and never this one. The three
    // texts go at their full field widths; the client clips what needs clipping.
    uint32_t accessType = platform::system::INTERNET_OPEN_TYPE_DIRECT;
    if (!REK().PROXYADR.isBlank()) {
        m_client.SetProxy(REK().PROXYADR.view(), REK().PROXYPORT, REK().USERNAME.view(),
                          REK().USERPASS.view());
        accessType = platform::system::INTERNET_OPEN_TYPE_PROXY;
    }

    std::string server = BuiltInServer;
    uint16_t port = DefaultPort;
    if (!REKD().SITENAME.isBlank()) {
        std::string_view site = REKD().SITENAME.clipped();
        while (!site.empty() && site.front() == ' ')
            site.remove_prefix(1);
        server = std::string(site.substr(0, 20));
    }
    if (REKD().SITEPORT != 0)
        port = static_cast<uint16_t>(REKD().SITEPORT);

    bool loaded = false;
    if (m_client.Connect(server, port, accessType) != 0) {
        ui::message(w("Ошибка соединения с сайтом:") + m_client.ErrorText(), w("Ошибка"),
                    ui::MessageIcon::Exclamation);
    } else if (m_client.Load(Path, targetFile()) != 0) {
        ui::message(w("Не удается скачать файл прайс-листа!"), w("Ошибка"),
                    ui::MessageIcon::Exclamation);
    } else {
        loaded = true;
    }
    m_client.Close();
    return loaded;
}

} // namespace app
