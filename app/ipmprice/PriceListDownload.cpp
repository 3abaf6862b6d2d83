#include "app/ipmprice/PriceListDownload.h"

#include "app/dictionary/Dictionary.h"
#include "net/HttpClient.h"
#include "platform/storage/Leftovers.h"
#include "platform/system/WinInet.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <cctype>
#include <filesystem>
#include <fstream>

#include "platform/text/AsciiChars.h"

namespace app {

using platform::text::w;
namespace ui = platform::ui;

namespace {

constexpr std::int32_t Cancelled = 12017;
// The body came encoded and its stream did not end: it was cut (or damaged) on the way.
constexpr std::int32_t DecodingFailed = 12175;

bool isWebPage(std::string_view contentType)
{
    std::string type;
    for (const char c : contentType.substr(0, contentType.find(';')))
        if (c != ' ')
            type += static_cast<char>(platform::text::asciiLower(c));
    return type == "text/html" || type == "application/xhtml+xml";
}

// A list ends with a line end: after the last one only blanks and CR may follow. A body that
// stops inside a line was cut, whatever length was announced for it.
bool endsAfterALine(const std::string& file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::streamoff at = in.tellg();
    if (at <= 0)
        return true; // empty: the load says there is no price line
    while (at > 0) {
        in.seekg(--at);
        const int c = in.get();
        if (c == '\n')
            return true;
        if (c != ' ' && c != '\r' && c != '\t')
            return false;
    }
    return true; // only blanks: the load says there is no price line
}

} // namespace

std::string PriceListDownload::targetFile()
{
    return (std::filesystem::current_path() / "quelbit.txt").string();
}

std::string PriceListDownload::receivedFile()
{
    return platform::storage::temporaryBeside(targetFile());
}

void PriceListDownload::keepReceived(bool loaded)
{
    std::error_code error;
    if (loaded)
        std::filesystem::rename(receivedFile(), targetFile(), error);
    std::filesystem::remove(receivedFile(), error);
}

bool PriceListDownload::refused(const char* whyUtf8)
{
    ui::message(w(whyUtf8) + w(" Прайс-лист не изменён."), w("Ошибка"),
                ui::MessageIcon::Exclamation);
    keepReceived(false);
    return false;
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
    m_cancelled = false;
    // The file is received beside its target, where a killed earlier run may have left one.
    platform::storage::removeLeftovers(std::filesystem::path(targetFile()).parent_path().string());
    if (m_client.Connect(server, port, accessType) != 0) {
        ui::message(w("Ошибка соединения с сайтом:") + m_client.ErrorText(), w("Ошибка"),
                    ui::MessageIcon::Exclamation);
    } else if (m_client.Load(Path, receivedFile()) != 0) {
        m_cancelled = m_client.errorCode() == Cancelled;
        if (m_client.errorCode() == DecodingFailed)
            loaded = refused("Файл прайс-листа получен не полностью.");
        else if (!m_cancelled)
            ui::message(w("Не удается скачать файл прайс-листа!"), w("Ошибка"),
                        ui::MessageIcon::Exclamation);
    } else if (isWebPage(m_client.contentType())) {
        // An error or login page answered with 200 is no price list.
        loaded = refused("Сервер прислал веб-страницу вместо файла прайс-листа.");
    } else if (!endsAfterALine(receivedFile())) {
        // The end of the connection, or an announced length shorter than the list, fell
        // inside a line: the rest of the list is missing.
        loaded = refused("Файл прайс-листа получен не полностью.");
    } else {
        loaded = true;
    }
    m_client.Close();
    return loaded;
}

} // namespace app
