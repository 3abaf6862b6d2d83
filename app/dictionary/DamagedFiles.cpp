#include "app/dictionary/DamagedFiles.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/LogicalThread.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

#include <cstring>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

namespace app {

namespace storage = platform::storage;
using platform::text::w;
using namespace platform::ui;

namespace {

constexpr uint8_t ReadWrite = 0x22;
constexpr uint8_t ReadOnly = 0x40;

// What the questions call the files the program can make again.
std::string fileTitle(const storage::RecordFile& file)
{
    const std::string& label = file.label();
    if (label == "PRIOSN")
        return w("Файл прайс-листа");
    if (label == "PROIZ")
        return w("Файл производителей");
    if (label == "SPRMAN")
        return w("Файл справочника менеджеров");
    if (label == "SPRPR")
        return w("Файл справочника применяемости");
    return w("Файл ") + file.diskName();
}

// The files whose question a thread answered "Нет", by thread and disk name.
std::set<std::pair<int, std::string>>& declined()
{
    static std::set<std::pair<int, std::string>> answers;
    return answers;
}

std::pair<int, std::string> answerOf(const storage::RecordFile& file)
{
    return {storage::currentThread(), file.diskName()};
}

// A name for the damaged copy that no file has yet.
std::string freeCopyName(const std::string& name)
{
    std::string copy = name + ".bad";
    for (int n = 2; storage::fileExists(copy); ++n)
        copy = name + ".bad-" + std::to_string(n);
    return copy;
}

std::string reasonOf(int code)
{
    return storage::errorTextOf(code) + " (" + std::to_string(code) + ")";
}

} // namespace

bool fileIsDamaged(storage::RecordFile& file)
{
    if (file.isOpen())
        return file.damaged();
    const int code = file.open(ReadOnly);
    if (code == storage::Error::None)
        file.close();
    storage::clearError();
    if (code == storage::Error::AccessDenied && !file.layout().ownerPassword.empty())
        return std::ifstream(storage::resolveFileName(file.diskName()), std::ios::binary).good();
    return code == storage::Error::DamagedDataFile;
}

std::string newFileQuestion(const storage::RecordFile& file, bool thenLoad)
{
    return fileTitle(file) + w(thenLoad ? " повреждён. Создать его заново и загрузить прайс-лист?"
                                        : " повреждён. Создать его заново?");
}

int replaceDamagedFile(storage::FileRelation& relation, std::string* keptAs)
{
    storage::RecordFile& file = *relation.manager()->file();
    const bool wasOpen = file.isOpen();
    const uint8_t mode = file.isReadOnly() ? ReadOnly : ReadWrite;
    if (wasOpen)
        file.close();
    const std::string name = file.diskName();
    const std::string copy = freeCopyName(name);
    int code = storage::renameFile(name, copy);
    if (code == storage::Error::None)
        code = file.create();
    if (code == storage::Error::None)
        code = wasOpen ? file.open(mode) : relation.open();
    if (code == storage::Error::None) {
        for (auto it = declined().begin(); it != declined().end();)
            it = it->second == name ? declined().erase(it) : std::next(it);
        if (keptAs)
            *keptAs = copy;
        return code;
    }
    // Back to the open the thread had, on whatever file now has the name.
    if (wasOpen && !file.isOpen())
        file.open(mode);
    message(w("Не удалось создать файл ") + name + w(" заново: ") + reasonOf(code), w("Ошибка"),
            MessageIcon::Exclamation);
    storage::setError(code, name);
    return code;
}

int replaceKeepingRecords(storage::FileRelation& relation, int64_t& kept, std::string& keptAs)
{
    storage::RecordFile& file = *relation.manager()->file();
    const std::size_t size = file.layout().recordSize;
    const std::vector<std::byte> buffer(file.buffer(), file.buffer() + size);
    std::vector<std::byte> records;
    // What cannot be read at all gives no records; the damaged file is still kept.
    file.salvage([&] { records.insert(records.end(), file.buffer(), file.buffer() + size); });
    kept = 0;
    int code = replaceDamagedFile(relation, &keptAs);
    if (code == storage::Error::None && !records.empty()) {
        code = file.stream();
        for (std::size_t at = 0; code == storage::Error::None && at < records.size(); at += size) {
            std::memcpy(file.buffer(), records.data() + at, size);
            code = file.add();
            if (code == storage::Error::None)
                ++kept;
            else if (code == storage::Error::DuplicateKey)
                code = storage::Error::None; // the first of the two stays
        }
        const int flushed = file.flush();
        if (code == storage::Error::None)
            code = flushed;
    }
    std::memcpy(file.buffer(), buffer.data(), size);
    return code;
}

bool recoverDamagedFile(storage::FileRelation& relation)
{
    storage::RecordFile& file = *relation.manager()->file();
    const std::string name = file.diskName();
    int64_t kept = 0;
    std::string keptAs;
    const int code = replaceKeepingRecords(relation, kept, keptAs);
    if (keptAs.empty())
        return false; // said
    std::string text = w("Файл ") + name + w(" повреждён (") + reasonOf(storage::Error::DamagedDataFile)
                       + ").\n" + w("Восстановлено записей: ") + std::to_string(kept) + ".\n";
    if (code != storage::Error::None)
        text += w("Не удалось перенести остальные: ") + reasonOf(code) + ".\n";
    message(text + w("Повреждённый файл сохранён как ") + keptAs + ".", w("Сообщение"),
            MessageIcon::Exclamation);
    return true;
}

bool offerNewFile(storage::FileRelation& relation, const std::string& question,
                  const std::string& caption, bool keepRecords)
{
    storage::RecordFile& file = *relation.manager()->file();
    if (message(question, caption, MessageIcon::Question, Button::Yes | Button::No)
        != Button::Yes) {
        declined().insert(answerOf(file));
        return false;
    }
    if (!keepRecords)
        return replaceDamagedFile(relation) == storage::Error::None;
    int64_t kept = 0;
    std::string keptAs;
    const int code = replaceKeepingRecords(relation, kept, keptAs);
    if (code == storage::Error::None)
        return true;
    if (!keptAs.empty()) {
        // Made anew, though not every readable record could be written into it.
        message(w("Не удалось перенести записи в новый файл ") + file.diskName() + ": " +
                    reasonOf(code) + w(". Повреждённый файл сохранён как ") + keptAs + ".",
                w("Ошибка"), MessageIcon::Exclamation);
        return true;
    }
    return false;
}

bool newFileDeclined(const storage::RecordFile& file)
{
    return declined().count(answerOf(file)) != 0;
}

} // namespace app
