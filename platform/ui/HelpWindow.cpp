#include "platform/ui/HelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>

#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <algorithm>

namespace platform::ui {
namespace {

const QString kIndexPage = QStringLiteral("index.html");

QString defaultTitle()
{
    return QStringLiteral("Справка");
}

} // namespace

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), m_folder(folder), m_contents(new QListWidget(this)),
      m_browser(new QTextBrowser(this))
{
    setWindowTitle(defaultTitle());
    m_browser->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(820, 560);

    connect(m_contents, &QListWidget::itemActivated, this, &HelpWindow::openContentsItem);
    connect(m_contents, &QListWidget::itemClicked, this, &HelpWindow::openContentsItem);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? defaultTitle() : title);
    });
    fillContents();
    // The contents pane is as wide as its longest line (up to half the window), so that every
    // line reads whole.
    const int contentsWidth = m_contents->sizeHintForColumn(0) + 2 * m_contents->frameWidth() +
                              m_contents->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
    const int paneWidth = std::min(std::max(contentsWidth, 160), width() / 2);
    splitter->setSizes({paneWidth, width() - paneWidth});
}

QUrl HelpWindow::pageUrl(const QString& name) const
{
    if (m_folder.startsWith(QLatin1Char(':')))
        return QUrl(QStringLiteral("qrc") + m_folder + QLatin1Char('/') + name);
    return QUrl::fromLocalFile(m_folder + QLatin1Char('/') + name);
}

bool HelpWindow::pageExists(const QString& name) const
{
    return QFile::exists(m_folder + QLatin1Char('/') + name);
}

bool HelpWindow::showContents()
{
    return showPage(kIndexPage);
}

bool HelpWindow::showPage(const QString& name)
{
    const QString file = name.section(QLatin1Char('#'), 0, 0);
    if (!pageExists(file)) {
        showMissing(file);
        return false;
    }
    QUrl url = pageUrl(file);
    if (name.contains(QLatin1Char('#')))
        url.setFragment(name.section(QLatin1Char('#'), 1));
    m_browser->setSource(url);
    return true;
}

void HelpWindow::showMissing(const QString& name)
{
    m_browser->setPlainText(QStringLiteral("Страница справки не найдена: ") + name);
    setWindowTitle(defaultTitle());
}

QUrl HelpWindow::currentPage() const
{
    return m_browser->source();
}

QString HelpWindow::pageTitle() const
{
    return m_browser->documentTitle();
}

QStringList HelpWindow::contents() const
{
    QStringList texts;
    for (int i = 0; i < m_contents->count(); ++i)
        texts << m_contents->item(i)->text();
    return texts;
}

void HelpWindow::fillContents()
{
    QFile index(m_folder + QLatin1Char('/') + kIndexPage);
    if (!index.open(QIODevice::ReadOnly))
        return;
    QTextDocument document;
    document.setHtml(QString::fromUtf8(index.readAll()));
    // Every link of the index page to a page of the help is one line of the contents.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QString href = format.anchorHref();
            if (!format.isAnchor() || href.isEmpty() || href.contains(QLatin1Char(':')))
                continue;
            auto* item = new QListWidgetItem(fragment.fragment().text().trimmed(), m_contents);
            item->setData(Qt::UserRole, href);
        }
    }
}

void HelpWindow::openContentsItem(QListWidgetItem* item)
{
    if (item)
        showPage(item->data(Qt::UserRole).toString());
}

} // namespace platform::ui
