#include "app/startup/QtTranslations.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/FileDialog.h"
#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

TEST(QtTranslations, QtsOwnDialogsSpeakRussian)
{
    const QLocale before;
    QTranslator* translator = app::InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Russian translations are not installed";
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("Открыть"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Печать"));
    EXPECT_EQ(QLocale().language(), QLocale::Russian);
    QCoreApplication::removeTranslator(translator);
    delete translator;
    QLocale::setDefault(before);
}

namespace {

struct ShownColumn
{
    QString text;
    bool whole = false;
};

// The size, type and date columns of a row of the file dialog's detail view, and whether each
// text fits its column (the view would otherwise cut it).
std::vector<ShownColumn> shownRow(QTreeView& view, const QString& name)
{
    const QAbstractItemModel* model = view.model();
    const QModelIndex root = view.rootIndex();
    const int margin =
        2 * (view.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
    for (int row = 0; row < model->rowCount(root); ++row) {
        if (model->index(row, 0, root).data().toString() != name)
            continue;
        std::vector<ShownColumn> columns;
        for (int column = 1; column <= 3; ++column) {
            const QModelIndex index = model->index(row, column, root);
            const QString text = index.data().toString();
            // Whole: as wide as its text, and within the view without scrolling.
            const QRect cell = view.visualRect(index);
            columns.push_back({text, view.fontMetrics().horizontalAdvance(text) + margin <=
                                             view.header()->sectionSize(column) &&
                                         cell.right() < view.viewport()->width()});
        }
        return columns;
    }
    return {};
}

} // namespace

TEST(QtTranslations, TheFileDialogShowsSizesTypesAndDatesInRussianAndWhole)
{
    const QLocale before;
    QTranslator* translator = app::InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Russian translations are not installed";
    testsupport::TempWorkFolder folder;
    std::filesystem::create_directory(folder.file("archive"));
    testsupport::writeFileBytes(folder.file("order.txt"), std::string(628, 'x'));
    const QDateTime modified =
        QFileInfo(QString::fromStdString(folder.file("order.txt").string())).lastModified();

    std::vector<ShownColumn> file;
    std::vector<ShownColumn> subfolder;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* view = dialog ? dialog->findChild<QTreeView*>() : nullptr;
        if (!view)
            return;
        file = shownRow(*view, QStringLiteral("order.txt"));
        subfolder = shownRow(*view, QStringLiteral("archive"));
        // A person reads the columns once the folder is shown, and has a moment to.
        bool whole = !file.empty() && !file[0].text.isEmpty() && !subfolder.empty();
        for (const auto* row : {&file, &subfolder})
            for (const ShownColumn& column : *row)
                whole = whole && (column.text.isEmpty() || column.whole);
        if (whole || waited.elapsed() > 3000)
            dialog->reject();
    });
    poll.start(50);
    std::string name = folder.file("order.txt").string();
    platform::ui::fileDialog(platform::text::w("Выберите файл заказа"), name,
                             platform::text::w("Текстовый формат|*.txt"),
                             platform::ui::FileOption::KeepDirectory);
    poll.stop();
    QCoreApplication::removeTranslator(translator);
    delete translator;
    QLocale::setDefault(before);

    ASSERT_EQ(file.size(), 3U);
    ASSERT_EQ(subfolder.size(), 3U);
    EXPECT_EQ(file[0].text, QStringLiteral("628 байт"));
    EXPECT_EQ(subfolder[1].text, QStringLiteral("Папка"));
    EXPECT_EQ(file[2].text, modified.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    for (const ShownColumn& column : {file[0], file[1], file[2], subfolder[1], subfolder[2]})
        EXPECT_TRUE(column.whole) << column.text.toStdString() << " is cut";
}
