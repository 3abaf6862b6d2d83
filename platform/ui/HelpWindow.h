#pragma once

#include <QUrl>
#include <QWidget>

class QListWidget;
class QListWidgetItem;
class QTextBrowser;

// The help viewer: the contents (the links of the help's index page, in their order) beside the
// page they lead to.
namespace platform::ui {

class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // folder: where the pages are, a resource folder (":/help") or a folder on disk.
    explicit HelpWindow(const QString& folder, QWidget* parent = nullptr);

    // Shows the index page; false (and a short note in the page area) when it is missing.
    bool showContents();
    bool showPage(const QString& name);

    QUrl currentPage() const;
    QString pageTitle() const;
    // The texts of the contents, in order.
    QStringList contents() const;
    QTextBrowser* browser() const { return m_browser; }

private:
    QUrl pageUrl(const QString& name) const;
    bool pageExists(const QString& name) const;
    void fillContents();
    void openContentsItem(QListWidgetItem* item);
    void showMissing(const QString& name);

    QString m_folder;
    QListWidget* m_contents = nullptr;
    QTextBrowser* m_browser = nullptr;
};

} // namespace platform::ui
