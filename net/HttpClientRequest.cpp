#include "net/HttpClient.h"

#include "net/DownloadFile.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFile.h"
#include "platform/text/Cp1251.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

#include <unistd.h>
#include <charconv>
#include <cstring>
#include <vector>
#include "platform/text/AsciiChars.h"

// HttpClient.Request: one request, its status, and the body into a file or into RESPONSE.
namespace net {
namespace {

namespace inet = platform::system;
using platform::text::w;

constexpr std::size_t ReadBufferSize = 40000;
constexpr inet::DWORD ContentLengthBufferSize = 10;
constexpr inet::DWORD ContentTypeBufferSize = 200;
constexpr std::size_t VerbLength = 9;
constexpr std::size_t HttpErrorWidth = 200;

std::string_view clipped(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(platform::text::asciiUpper(c)); });
    return result;
}

std::int32_t statusNumber(std::string_view text)
{
    std::int32_t number = 0;
    for (const char c : text.substr(0, 3)) {
        if (c < '0' || c > '9')
            break;
        number = number * 10 + (c - '0');
    }
    return number;
}

std::string statusMessage(std::int32_t status)
{
    switch (status) {
    case 400:
        return w("400 не удаётся найти страницу");
    case 403:
        return w("403 страница не может быть отображена");
    case 404:
        return w("404 не удаётся найти страницу");
    case 405:
        return w("405 не удаётся найти страницу-неверный адрес");
    case 406:
        return w("406 не удаётся найти страницу-нет доступа");
    case 500:
        return w("500 проблемы с WWW-сервером");
    default:
        return w("Ошибка доступа. Код ") + std::to_string(status);
    }
}

// The status text a query left in the read buffer: up to its NUL, at most 199 characters.
std::string queryStatus(inet::HINTERNET request, std::vector<char>& buffer)
{
    auto length = static_cast<inet::DWORD>(buffer.size());
    inet::DWORD index = 0;
    inet::HttpQueryInfoA(request, inet::HTTP_QUERY_STATUS_CODE, buffer.data(), &length, &index);
    const std::size_t end = strnlen(buffer.data(), buffer.size());
    return std::string(buffer.data(), std::min(end, HttpErrorWidth - 1));
}

std::string contentLengthText(inet::HINTERNET request)
{
    char text[ContentLengthBufferSize] = {};
    inet::DWORD length = ContentLengthBufferSize;
    inet::DWORD index = 0;
    inet::HttpQueryInfoA(request, inet::HTTP_QUERY_CONTENT_LENGTH, text, &length, &index);
    return std::string(text, strnlen(text, sizeof text));
}

std::uint64_t numberOf(const std::string& text)
{
    std::uint64_t number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

std::string contentTypeText(inet::HINTERNET request)
{
    char text[ContentTypeBufferSize] = {};
    inet::DWORD length = ContentTypeBufferSize;
    inet::DWORD index = 0;
    inet::HttpQueryInfoA(request, inet::HTTP_QUERY_CONTENT_TYPE, text, &length, &index);
    return std::string(text, strnlen(text, sizeof text));
}

// The body is written beside the target and renamed over it once complete, so a failed
// download leaves the target as it was and nobody reading it meets a half-written file.
std::string partFileName(const std::string& target)
{
    return target + ".part-" + std::to_string(::getpid());
}

int moveOver(const std::string& from, const std::string& to)
{
    std::error_code error;
    std::filesystem::rename(platform::storage::resolveFileName(from),
                            platform::storage::resolveFileName(to), error);
    if (!error)
        return 0;
    return error.value() == ENOSPC ? 90 : error.value() == ENOENT ? 3 : 5;
}

} // namespace

std::int32_t HttpClient::Request(std::string_view verbGiven, std::string_view path,
                                 std::string_view targetFile)
{
    // 1. The request's state and buffers.
    const std::string verb = upper(clipped(verbGiven)).substr(0, VerbLength);
    m_httpError.clear();
    m_httpStatus = 0;
    m_response.reset();
    m_contentLength.clear();
    m_contentType.clear();
    platform::storage::ByteFile& file = downloadFile();
    file.clearBuffer();
    std::vector<char> readBuffer(ReadBufferSize, ' ');

    // 2.-4. Query text, object name and body.
    std::string query;
    if (verb == "GET")
        query = std::string(clipped(path)) + (m_dataList && m_dataList->records() ? "?" : "");
    else if (verb == "LOAD")
        query = std::string(clipped(path));
    if (verb != "LOAD" && m_dataList) {
        for (std::size_t i = 1; i <= m_dataList->records(); ++i) {
            const HttpParameter& parameter = m_dataList->at(i);
            query += i == 1 ? "" : "&";
            query += parameter.id.clipped();
            query += '=';
            query += parameter.valueText();
        }
    }
    const bool post = verb == "POST";
    const std::string objectName = post ? std::string(path) : query;
    const std::string body = post ? query : std::string();
    const std::string verbSent = verb == "LOAD" ? "GET" : verb;

    // 6.-8. The request handle.
    const char* acceptTypes[] = {"*/*", nullptr};
    m_hRequest = inet::HttpOpenRequestA(m_hSession, verbSent.c_str(), objectName.c_str(),
                                        "HTTP/1.1", "", acceptTypes, 0, 0);
    CaptureError(w("Соединение с Интернет"), false);
    if (!m_hRequest) {
        ShowMessage(w("Ошибка соединения с Интернет:") + m_error, 1);
        return m_errorCode;
    }

    // 9. Send; a failure is recorded and the status query and the read report what follows.
    static const char formHeader[] = "Content-Type: application/x-www-form-urlencoded";
    const bool sent = post ? inet::HttpSendRequestA(m_hRequest, formHeader, 0xFFFFFFFF, body.data(),
                                                    static_cast<inet::DWORD>(body.size()))
                           : inet::HttpSendRequestA(m_hRequest, nullptr, 0, nullptr, 0);
    if (!sent)
        CaptureError(w("Отправка данных:"), false);

    // 10.-11. Status, with one proxy-authentication retry.
    m_httpError = queryStatus(m_hRequest, readBuffer);
    std::int32_t status = statusNumber(m_httpError);
    if (status == 401 || status == 407) {
        if (ProxyAuthResend()) {
            ShowMessage(w("Неудачная аутентификация прокси"), 1);
            platform::system::InternetCloseHandle(m_hRequest);
            m_hRequest = nullptr;
            return status;
        }
        m_httpError = queryStatus(m_hRequest, readBuffer);
        status = statusNumber(m_httpError);
    }

    // 12.-13.
    CaptureError(w("Запрос на приём данных:"), false);
    const bool succeeded = status == 0 || (status >= 200 && status <= 210);
    if (!succeeded) {
        ShowMessage(statusMessage(status), 1);
    } else {
        // 14.-15.
        m_httpError.clear();
        m_contentLength = contentLengthText(m_hRequest);
        m_contentType = contentTypeText(m_hRequest);
        const std::uint64_t length = numberOf(m_contentLength);
        const std::string target(clipped(targetFile));
        const bool toFile = !target.empty();
        std::string collected;
        bool fileFailed = false;
        if (toFile) {
            file.setDiskName(partFileName(target.substr(0, DownloadNameLength)));
            int code = file.create();
            if (code == 0)
                code = file.open(0x22);
            if (code == 0)
                code = file.setToStart();
            if (code != 0) {
                failTargetFile(w("Создание файла"), w("Ошибка создания файла "), code, target);
                fileFailed = true;
            }
        }

        // 16. The read loop, one chunk a pass.
        std::uint64_t count = 0;
        while (!fileFailed) {
            inet::DWORD got = 0;
            if (!inet::InternetReadFile(m_hRequest, readBuffer.data(),
                                        static_cast<inet::DWORD>(readBuffer.size()), &got)) {
                CaptureError(w("Чтение данных"), false);
                // A cancel was the user's own wish: nothing to tell.
                if (m_errorCode != static_cast<std::int32_t>(inet::WinInetError::OperationCancelled))
                    ShowMessage(readFailureMessage(), 1);
                if (toFile) {
                    file.close();
                    platform::storage::removeFile(file.diskName());
                }
                break;
            }
            if (got == 0) {
                if (toFile) {
                    int code = file.close();
                    if (code == 0 && (code = moveOver(file.diskName(), target)) != 0)
                        platform::storage::removeFile(file.diskName());
                    if (code != 0)
                        failTargetFile(w("Запись файла"), w("Ошибка записи файла "), code, target);
                } else {
                    m_response = std::move(collected);
                }
                break;
            }
            if (toFile) {
                std::memcpy(file.buffer(), readBuffer.data(), got);
                if (const int code = file.add(got); code != 0) {
                    failTargetFile(w("Запись файла"), w("Ошибка записи файла "), code, target);
                    break;
                }
            } else {
                collected.append(readBuffer.data(), got);
            }
            count += got;
            if (m_progressControl != 0 && length != 0 && progressUpdater())
                progressUpdater()(m_progressControl,
                                  static_cast<double>(count) / static_cast<double>(length) * 100.0);
        }
    }

    // 17. Finish.
    m_httpStatus = status;
    if (!clipped(m_httpError).empty()) {
        m_error = m_httpError;
        m_errorCode = m_httpStatus;
    }
    platform::system::InternetCloseHandle(m_hRequest);
    m_hRequest = nullptr;
    return m_errorCode;
}

// The client's box after a failed read: what failed and where, said so that the user can act
// on it (a connection that never came about fails its reads with the connection's code).
std::string HttpClient::readFailureMessage() const
{
    const std::string server = m_szServerName + ":" + std::to_string(m_nServerPort);
    switch (m_errorCode) {
    case inet::WinInetError::CannotConnect:
        return w("Соединение отклонено: сервер ") + server +
               w(" не отвечает по этому адресу и порту");
    case inet::WinInetError::NameNotResolved:
        return w("Сервер ") + server + w(" не найден: такого имени в сети нет");
    case inet::WinInetError::ProxyServerUnreachable: {
        // The proxy named to the session; a preconfigured one is the system's own.
        const std::string proxy =
            m_dwAccessType == inet::INTERNET_OPEN_TYPE_PROXY ? std::string(clipped(m_szProxy)) : "";
        return w("Прокси-сервер ") + (proxy.empty() ? "" : proxy + " ") +
               w("недоступен: он не отвечает или его имя не найдено");
    }
    case inet::WinInetError::Timeout:
        return w("Превышено время ожидания: сервер не передаёт данные");
    default:
        return w("Ошибка считывания данных");
    }
}

// A target file that cannot be created or written: the download fails with the storage code,
// and no partial file is left.
std::int32_t HttpClient::failTargetFile(std::string_view what, std::string_view message, int code,
                                        std::string_view name)
{
    platform::storage::ByteFile& file = downloadFile();
    if (file.isOpen())
        file.close();
    platform::storage::removeFile(file.diskName());
    m_errorCode = code;
    m_apiError = textOfCode(code).substr(0, HttpErrorWidth - 1);
    m_inetError.clear();
    m_error = (std::string(what) + " " + m_apiError).substr(0, HttpErrorWidth - 1);
    // The reason in the runtime's words, as every file error of the program gives it.
    ShowMessage(std::string(message) + std::string(name) + ": " +
                    platform::storage::errorTextOf(code) + " (" + std::to_string(code) + ")",
                1);
    return code;
}

} // namespace net
