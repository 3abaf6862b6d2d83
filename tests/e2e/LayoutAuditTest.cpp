// Every window definition of the program, opened as the program opens it (dialogs modal over
// the frame, other windows inside it), looked at as a person would in every state a click on a
// tab, radio or check box leads to: every control they can see has an area inside its window,
// is not covered, overlaps no other and no holder's frame, shows its whole text, and the Tab key
// reaches every enabled entry, button and list. New definition files are picked up by
// themselves.
#include "platform/ui/LayoutAudit.h"
#include "platform/storage/LogicalThread.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QWidget>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

using namespace platform::ui;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

std::vector<std::filesystem::path> definitionFiles()
{
    std::vector<std::filesystem::path> files;
    // Through Qt's file layer: the definitions may be the ones compiled into the program.
    const std::filesystem::path folder = resourceFolder() / "windows";
    const QDir listing(QFile::decodeName(folder.c_str()), QStringLiteral("*.json"));
    for (const QString& name : listing.entryList(QDir::Files)) {
        QFile file(listing.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // Report definitions share the folder; only files of windows are opened.
        if (QJsonDocument::fromJson(file.readAll()).object().contains(QStringLiteral("windows")))
            files.push_back(folder / QFile::encodeName(name).toStdString());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(LayoutAudit, EveryWindowIsSeenWholeAndReachedByTheTabKey)
{
    platform::storage::setCurrentThread(1);
    const std::vector<std::filesystem::path> files = definitionFiles();
    ASSERT_GE(files.size(), 15u) << "the program's window definitions were not found";
    std::vector<WindowDefinition> definitions;
    for (const auto& file : files)
        for (WindowDefinition& definition : loadDefinitionFile(file))
            definitions.push_back(std::move(definition));
    const auto frameDefinition = std::find_if(definitions.begin(), definitions.end(),
                                              [](const auto& d) { return d.kind == "frame"; });
    ASSERT_NE(frameDefinition, definitions.end());
    Window frame(*frameDefinition);
    frame.open();
    settle();

    std::vector<std::string> faults = LayoutAudit::controls(frame);
    int audited = 0;
    for (const WindowDefinition& definition : definitions) {
        if (definition.kind == "frame")
            continue;
        Window window(definition);
        window.setModal(definition.kind == "dialog");
        window.open();
        settle();
        for (const std::string& fault : LayoutAudit::everyState(window))
            if (std::find(faults.begin(), faults.end(), fault) == faults.end())
                faults.push_back(fault);
        window.finish();
        settle();
        ++audited;
    }
    frame.finish();
    settle();
    EXPECT_GE(audited, 15);
    std::string all;
    for (const std::string& fault : faults)
        all += fault + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults:\n" << all;
}

// What a person reads is in letters no smaller than the window's own, and a button in the
// letters of the row it stands in.
TEST(LayoutAudit, TextsInTheLettersOfTheirWindowAndTheirRow)
{
    const auto fontOf = [](const Window& window, const char* label) {
        const Control* control = window.control(label);
        return control && control->widget() ? control->widget()->font() : QFont();
    };
    const Window price(loadWindowDefinition("quelb002", "P1$QUICKWINDOW"));
    const QFont close = fontOf(price, "?CLOSE");
    const QFont print = fontOf(price, "?BUTTON11"); // "Печатать", beside it
    EXPECT_EQ(close.family(), print.family());
    EXPECT_EQ(close.pointSize(), print.pointSize());
    EXPECT_EQ(close.bold(), print.bold());

    // A narrow cut may stand in where the room is short, but its letters stay as tall as the
    // window's and lose at most a seventh of their width.
    const Window selection(loadWindowDefinition("quelb022", "P1$WINDOW"));
    const QFontMetrics window(selection.font());
    for (const char* label : {"?TTT", "?TTT1"}) {
        const QFontMetrics box(fontOf(selection, label));
        const QString text = platform::text::toQString(selection.control(label)->text());
        EXPECT_GE(box.capHeight(), window.capHeight()) << label;
        EXPECT_GE(box.horizontalAdvance(text) * 7, window.horizontalAdvance(text) * 6)
            << label << ": " << box.horizontalAdvance(text) << " of "
            << window.horizontalAdvance(text) << " pixels";
    }
}
