#include "platform/ui/ProgressWindow.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/DialogUnits.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace platform::ui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent)
    , m_userText(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_percentText(new QLabel(this))
    , m_cancel(new QPushButton(QStringLiteral("Отменить"), this))
{
    setWindowTitle(QStringLiteral("Processing Records"));
    setModal(true);
    m_userText->setAlignment(Qt::AlignCenter);
    m_percentText->setAlignment(Qt::AlignCenter);
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_userText);
    layout->addWidget(m_bar);
    layout->addWidget(m_percentText);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    setMinimumWidth(300);

    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::requestCancel);
    setPercent(0);
}

void ProgressWindow::takeDefinition(const WindowDefinition& definition)
{
    setFont(fontOf(definition.font, QApplication::font()));
    const DialogUnits du(font());
    // The definition places every control itself.
    delete layout();
    const std::pair<const char*, QWidget*> parts[] = {{"?PROGRESS:THERMOMETER", m_bar},
                                                      {"?PROGRESS:USERSTRING", m_userText},
                                                      {"?PROGRESS:PCTTEXT", m_percentText},
                                                      {"?PROGRESS:CANCEL", m_cancel}};
    for (const ControlDefinition& control : definition.controls)
        for (const auto& [label, widget] : parts) {
            if (control.label != label)
                continue;
            const Placement& at = control.at;
            const QSize natural = widget->sizeHint();
            widget->setGeometry(du.toPixelsX(at.x.value_or(0)), du.toPixelsY(at.y.value_or(0)),
                                at.width ? du.toPixelsX(*at.width) : natural.width(),
                                at.height ? du.toPixelsY(*at.height) : natural.height());
            if (widget == m_cancel && !control.text.empty())
                m_cancel->setText(text::toQString(control.text));
        }
    const QSize natural = sizeHint();
    setFixedSize(definition.at.width ? du.toPixelsX(*definition.at.width) : natural.width(),
                 definition.at.height ? du.toPixelsY(*definition.at.height) : natural.height());
    if (!definition.title.empty())
        setTitle(definition.title);
}

void ProgressWindow::setTitle(std::string_view title)
{
    setWindowTitle(text::toQString(title));
}

void ProgressWindow::setUserText(std::string_view text)
{
    m_userText->setText(text::toQString(text));
}

std::string ProgressWindow::userText() const
{
    return text::fromQString(m_userText->text());
}

void ProgressWindow::setPercent(int percent)
{
    percent = std::clamp(percent, 0, 100);
    m_bar->setValue(percent);
    m_percentText->setText(QString::number(percent) + QStringLiteral("% Completed"));
}

int ProgressWindow::percent() const
{
    return m_bar->value();
}

QString ProgressWindow::percentText() const
{
    return m_percentText->text();
}

void ProgressWindow::requestCancel()
{
    if (m_cancelRequested)
        return;
    m_cancelRequested = true;
    Q_EMIT cancelled();
}

void ProgressWindow::reject()
{
    // Esc: the window stays until its process has stopped; the process then ends it.
    requestCancel();
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    requestCancel();
}

} // namespace platform::ui
