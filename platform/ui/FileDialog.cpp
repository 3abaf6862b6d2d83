#include "platform/ui/FileDialog.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/FileDialogColumns.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/UnusableLetters.h"
#include "platform/ui/Window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace platform::ui {
namespace {

FileDialogHandler& installedHandler()
{
    static FileDialogHandler handler;
    return handler;
}

std::string withSlashes(std::string name)
{
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

QWidget* dialogParent()
{
    Window* frame = ThreadRegistry::frame();
    return frame ? frame->topWidget() : nullptr;
}

std::optional<QString> showDialog(const FileRequest& request)
{
    QFileDialog dialog(dialogParent(), text::toQString(request.title),
                       text::toQString(request.fileName));
    // Qt's own dialog: it speaks the program's language and wears its colours.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (request.folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        const std::string filter = qtFilterOf(request.masks);
        if (!filter.empty())
            dialog.setNameFilter(text::toQString(filter));
        if (request.options & FileOption::Save)
            dialog.setAcceptMode(QFileDialog::AcceptSave);
        else
            dialog.setFileMode(QFileDialog::ExistingFile);
    }
    showColumnsInProgramLocale(dialog);
    ThreadRegistry::enterModal();
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    ThreadRegistry::leaveModal();
    if (!chosen)
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

// The name in Windows-1251, or nothing (the person told why) when it has letters outside it.
std::optional<std::string> ask(const FileRequest& request)
{
    const std::optional<QString> chosen =
        installedHandler() ? installedHandler()(request) : showDialog(request);
    if (!chosen)
        return std::nullopt;
    if (!refuseUnusableLetters(*chosen, true))
        return text::fromQString(*chosen);
    return std::nullopt;
}

} // namespace

FileDialogHandler setFileDialogHandler(FileDialogHandler handler)
{
    return std::exchange(installedHandler(), std::move(handler));
}

std::string qtFilterOf(std::string_view masks)
{
    std::string filter;
    while (!masks.empty()) {
        const std::size_t bar = masks.find('|');
        const std::string_view description = masks.substr(0, bar);
        std::string_view pattern;
        if (bar == std::string_view::npos) {
            masks = {};
        } else {
            masks.remove_prefix(bar + 1);
            const std::size_t next = masks.find('|');
            pattern = masks.substr(0, next);
            masks = next == std::string_view::npos ? std::string_view() : masks.substr(next + 1);
        }
        if (description.empty() && pattern.empty())
            continue;
        std::string patterns(pattern.empty() ? std::string_view("*") : pattern);
        for (char& c : patterns)
            if (c == ';')
                c = ' ';
        if (!filter.empty())
            filter += ";;";
        filter += std::string(description) + " (" + patterns + ")";
    }
    return filter;
}

bool fileDialog(std::string_view title, std::string& fileName, std::string_view masks,
                unsigned options)
{
    const FileRequest request{std::string(title), std::string(masks), withSlashes(fileName),
                              options, false};
    const std::optional<std::string> chosen = ask(request);
    if (!chosen)
        return false;
    fileName = *chosen;
    if (!(options & FileOption::KeepDirectory)) {
        const QFileInfo info(text::toQString(withSlashes(*chosen)));
        QDir::setCurrent(info.absolutePath());
    }
    return true;
}

bool folderDialog(std::string_view title, std::string& folder)
{
    const FileRequest request{std::string(title), {}, withSlashes(folder), 0, true};
    const std::optional<std::string> chosen = ask(request);
    if (!chosen)
        return false;
    folder = *chosen;
    return true;
}

} // namespace platform::ui
