#pragma once

#include "platform/ui/WindowDefinition.h"

#include <QDialog>

#include <string>
#include <string_view>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window of a batch process: a user text above a progress bar, the percentage as
// text under it, and a cancel button. Closing the window or pressing Esc counts as cancel; the
// window goes away when its process ends it with done().
namespace platform::ui {

class ProgressWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Takes the size, font, title and control places of a progress window's definition
    // ("?PROGRESS:THERMOMETER", "?PROGRESS:USERSTRING", "?PROGRESS:PCTTEXT" and
    // "?PROGRESS:CANCEL", whose text is the button's caption), in place of its own layout.
    void takeDefinition(const WindowDefinition& definition);

    // Windows-1251 texts.
    void setTitle(std::string_view title);
    void setUserText(std::string_view text);
    std::string userText() const;

    // 0..100; the percentage text follows ("37% Completed").
    void setPercent(int percent);
    int percent() const;
    QString percentText() const;

    bool cancelRequested() const { return m_cancelRequested; }
    QPushButton* cancelButton() const { return m_cancel; }
    QProgressBar* progressBar() const { return m_bar; }

Q_SIGNALS:
    void cancelled();

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void requestCancel();

    QLabel* m_userText = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_percentText = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelRequested = false;
};

} // namespace platform::ui
