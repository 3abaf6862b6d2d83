#include "platform/ui/FileDialogColumns.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace platform::ui {
namespace {

enum Column { Name, Size, Type, Modified };

// Whole units only: a size shows no decimal point in any locale.
QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QStringLiteral(" байт");
    static const char* const units[] = {"КБ", "МБ", "ГБ", "ТБ"};
    qint64 value = (bytes + 1023) / 1024;
    std::size_t at = 0;
    while (value >= 10000 && at + 1 < std::size(units)) {
        value = (value + 1023) / 1024;
        ++at;
    }
    return QString::number(value) + QLatin1Char(' ') + QString::fromUtf8(units[at]);
}

class ProgramLocaleColumns : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == Name)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QFileInfo info = files->fileInfo(source);
        switch (index.column()) {
        case Size:
            return info.isDir() ? QString() : sizeText(info.size());
        case Type:
            if (info.isDir())
                return QCoreApplication::translate("QFileDialog", "Folder");
            break;
        case Modified:
            return QLocale().toString(info.lastModified(), QLocale::ShortFormat);
        default:
            break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// The type texts ("Текстовый документ") are known once a folder is read: the column takes what
// they need up to two thirds of the view with the sizes and dates, and the names give up that
// room, so the dates stay in view.
void fitTypeColumn(QTreeView& view)
{
    QHeaderView& header = *view.header();
    const int before = header.sectionSize(Type);
    view.resizeColumnToContents(Type);
    const int wanted = header.sectionSize(Type);
    const int width = view.viewport()->width();
    const int room = width * 2 / 3 - header.sectionSize(Size) - header.sectionSize(Modified);
    header.resizeSection(Type, std::max(before, std::min(wanted, room)));
    const int others =
        header.sectionSize(Size) + header.sectionSize(Type) + header.sectionSize(Modified);
    header.resizeSection(Name, std::max(width / 3, width - others));
}

} // namespace

void showColumnsInProgramLocale(QFileDialog& dialog)
{
    dialog.setProxyModel(new ProgramLocaleColumns(&dialog));
    auto* view = dialog.findChild<QTreeView*>();
    if (!view)
        return;
    const QFontMetrics metrics = view->fontMetrics();
    const int margins =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) +
        metrics.averageCharWidth();
    const QDateTime sample(QDate(2000, 12, 28), QTime(20, 58));
    view->header()->resizeSection(Size, metrics.horizontalAdvance(sizeText(9999 * 1024)) + margins);
    view->header()->resizeSection(
        Modified,
        metrics.horizontalAdvance(QLocale().toString(sample, QLocale::ShortFormat)) + margins);
    if (auto* files = dialog.findChild<QFileSystemModel*>())
        QObject::connect(files, &QFileSystemModel::directoryLoaded, view,
                         [view] { fitTypeColumn(*view); });
}

} // namespace platform::ui
