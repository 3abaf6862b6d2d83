#pragma once

#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"

#include <QPointer>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QEventLoop;
class QTimer;

namespace platform::ui {

class Control;
class Window;

// Drives windows as a user would. Commands are queued and carried out one by one from the
// event loop (so they reach modal windows too): press, type, key, menu, select, answers for
// the next message box, file and folder dialogs, and waits for a window to open or close.
// Texts given to the driver are UTF-8. Controls are found in the top window (the one opened
// last) by label ("?BUTTON1") or number ("3", "-2"). While it exists the driver answers every
// message box and file or folder dialog; one without a queued answer fails the run.
class TestDriver
{
public:
    TestDriver();
    ~TestDriver();
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;

    TestDriver& press(std::string_view control);
    TestDriver& type(std::string_view control, std::string_view text);
    // Key names as in definitions ("Enter", "Ctrl+Z", "0x12D"); control "" sends to the window's
    // focused control (or the window).
    TestDriver& key(std::string_view control, std::string_view key);
    // A menu item or toolbar button of the frame by label or by its text without "&".
    TestDriver& menu(std::string_view item);
    TestDriver& select(std::string_view control, int row);
    // Drags the right border of column n (from 1) of a list's header by pixels (negative: to
    // the left), as a person widens or narrows a column.
    TestDriver& dragColumnBorder(std::string_view control, int column, int pixels);
    // Clicks a button on the title bar of the top window, a child window of the frame:
    // "minimize", "maximize", "restore" or "close".
    TestDriver& titleButton(std::string_view button);
    // Posts the close request to the top window.
    TestDriver& close();
    TestDriver& answerMessage(unsigned button);
    TestDriver& answerFile(std::optional<std::string> fileName);
    TestDriver& answerFolder(std::optional<std::string> folder);
    TestDriver& waitOpen(std::string_view title, int timeoutMs = 5000);
    TestDriver& waitClose(std::string_view title, int timeoutMs = 5000);
    // Until nothing happens any more: no window appearing, no event queued for a window, and
    // the same windows open with the same titles for a few ticks in a row.
    TestDriver& waitIdle(int timeoutMs = 5000);
    TestDriver& dump(std::function<void(const std::string&)> sink);
    // Any code, run as a step (checks between commands).
    TestDriver& call(std::function<void()> step);

    // Carries out the queued commands; "" when all were, otherwise what failed. Modal windows
    // still open when it fails or times out are closed so that the caller gets control back.
    std::string run(int timeoutMs = 20000);
    // The same without waiting: done is called with the result.
    void start(std::function<void(const std::string&)> done, int timeoutMs = 0);

    // Every message box seen (UTF-8 "caption | text -> answer"), and everything else logged.
    const std::vector<std::string>& log() const { return m_log; }
    // The message boxes seen, as requested.
    const std::vector<MessageRequest>& messages() const { return m_messages; }
    void setLogSink(std::function<void(const std::string&)> sink) { m_logSink = std::move(sink); }

    // The top window and a control in it, for checks in tests.
    static Window* topWindow();
    static Control* findControl(std::string_view control);

private:
    struct Step
    {
        std::string description;
        // true when done; false to be tried again on the next tick; error set on failure.
        std::function<bool(std::string& error)> action;
        int timeoutMs = 5000;
        qint64 deadline = 0;
        // A control that cannot be found or reached yet is tried again until the program is
        // idle (a window that just closed may still be handing the focus back).
        bool retryUntilIdle = false;
    };

    TestDriver& add(std::string description, std::function<bool(std::string&)> action,
                    int timeoutMs = 5000);
    TestDriver& addControlStep(std::string description, std::function<bool(std::string&)> action);
    void tick();
    // Notes when the windows last changed or were busy.
    void watchIdle();
    bool idle() const;
    void finishRun(const std::string& result);
    void note(const std::string& line);
    unsigned answerMessageBox(const MessageRequest& request);
    std::optional<QString> answerDialog(const FileRequest& request);

    std::deque<Step> m_steps;
    std::deque<unsigned> m_messageAnswers;
    std::deque<std::optional<std::string>> m_fileAnswers;
    std::deque<std::optional<std::string>> m_folderAnswers;
    std::vector<std::string> m_log;
    std::vector<MessageRequest> m_messages;
    std::function<void(const std::string&)> m_logSink;
    std::function<void(const std::string&)> m_done;
    std::string m_failure;
    QPointer<QTimer> m_timer;
    qint64 m_runDeadline = 0;
    int m_modalsAtStart = 0;
    // How long nothing must change to count as idle: this, or one and a half times the
    // longest running window timer (whose next tick may start work).
    static constexpr int QuietMs = 50;
    static constexpr int TickMs = 5;
    qint64 m_lastWatch = 0;
    std::string m_lastScene;
    qint64 m_quietSince = 0;
    int m_quietNeeded = QuietMs;
    bool m_blocking = false;
    bool m_ticking = false;
    bool m_running = false;
    MessageHandler m_previousMessageHandler;
    FileDialogHandler m_previousFileHandler;
};

} // namespace platform::ui
