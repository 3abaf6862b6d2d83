#include "platform/ui/FrameRoom.h"

#include "platform/ui/Appearance.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/MdiChildFrame.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>

#include <filesystem>

namespace platform::ui {

QSize designRoomOfWindows(const QMdiArea& area)
{
    QSize room;
    // Through Qt's file layer, so that compiled-in definitions (":/...") are listed too.
    const std::filesystem::path folder = resourceFolder() / "windows";
    const QDir listing(QFile::decodeName(folder.c_str()), QStringLiteral("*.json"));
    for (const QString& name : listing.entryList(QDir::Files)) {
        std::vector<WindowDefinition> definitions;
        try {
            definitions = loadDefinitionFile(folder / QFile::encodeName(name).toStdString());
        } catch (const DefinitionError&) {
            continue; // the window itself says so when it is opened
        }
        for (const WindowDefinition& window : definitions) {
            if (window.kind != "window" || !window.at.width || !window.at.height)
                continue;
            const DialogUnits du(fontOf(window.font, QApplication::font()));
            room = room.expandedTo(
                QSize(du.toPixelsX(*window.at.width), du.toPixelsY(*window.at.height)));
        }
    }
    return room.isValid() ? room.grownBy(mdiChildFrame(area)) : QSize();
}

} // namespace platform::ui
