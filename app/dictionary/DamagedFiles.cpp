#include "app/dictionary/DamagedFiles.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"

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

} // namespace

bool fileIsDamaged(storage::RecordFile& file)
{
    if (file.isOpen())
        return file.damaged();
    const int code = file.open(ReadOnly);
    if (code == storage::Error::None)
        file.close();
    storage::clearError();
    return code == storage::Error::DamagedDataFile;
}

std::string newFileQuestion(const storage::RecordFile& file, bool thenLoad)
{
    return fileTitle(file) + w(thenLoad ? " повреждён. Создать его заново и загрузить прайс-лист?"
                                        : " повреждён. Создать его заново?");
}

int replaceDamagedFile(storage::FileRelation& relation)
{
    storage::RecordFile& file = *relation.manager()->file();
    const bool wasOpen = file.isOpen();
    const uint8_t mode = file.isReadOnly() ? ReadOnly : ReadWrite;
    if (wasOpen)
        file.close();
    const std::string name = file.diskName();
    int code = storage::renameFile(name, name + ".bad");
    if (code == storage::Error::None)
        code = file.create();
    if (code == storage::Error::None)
        code = wasOpen ? file.open(mode) : relation.open();
    if (code == storage::Error::None)
        return code;
    const std::string reason = storage::errorTextOf(code) + " (" + std::to_string(code) + ")";
    // Back to the open the thread had, on whatever file now has the name.
    if (wasOpen && !file.isOpen())
        file.open(mode);
    message(w("Не удалось создать файл ") + name + w(" заново: ") + reason, w("Ошибка"),
            MessageIcon::Exclamation);
    storage::setError(code, name);
    return code;
}

bool offerNewFile(storage::FileRelation& relation, const std::string& question,
                  const std::string& caption)
{
    if (message(question, caption, MessageIcon::Question, Button::Yes | Button::No) != Button::Yes)
        return false;
    return replaceDamagedFile(relation) == storage::Error::None;
}

} // namespace app
