#include "platform/ui/TestDriver.h"

#include "platform/system/WinInetWaiting.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/EntryControl.h"
#include "platform/ui/Event.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/ScrollIntoView.h"
#include "platform/ui/StateDump.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/TitleBarButton.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowWidget.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <charconv>

namespace platform::ui {
namespace {

std::string clippedUtf8(std::string_view cp1251)
{
    std::string s = text::cp1251ToUtf8(cp1251);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// A menu text as shown, without its access-key marks.
std::string withoutAmpersands(std::string s)
{
    std::erase(s, '&');
    return s;
}

std::string buttonName(unsigned bit)
{
    static const char* const names[] = {"OK",    "Yes",    "No",     "Abort",
                                        "Retry", "Ignore", "Cancel", "Help"};
    for (int i = 0; i < 8; ++i)
        if (bit == (1u << i))
            return names[i];
    return std::to_string(bit);
}

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

int openModalWindows()
{
    const std::vector<Window*> open = ThreadRegistry::openWindows();
    return static_cast<int>(
        std::count_if(open.begin(), open.end(), [](const Window* w) { return w->isModal(); }));
}

// A window that is still appearing (being placed on the screen, its open event or the work of
// its first tick not yet done) counts only when `appearing` says so.
bool windowWithTitle(std::string_view title, bool appearing = true)
{
    for (const Window* window : ThreadRegistry::openWindows())
        if (clippedUtf8(window->title()) == title && (appearing || window->hasAppeared()))
            return true;
    return false;
}

// A widget named as a person would point at it: its control's label and window, or its kind.
std::string describeWidget(QWidget* widget)
{
    for (const Window* window : ThreadRegistry::openWindows()) {
        if (const Control* control = window->controlOfObject(widget)) {
            const std::string label =
                control->label().empty() ? std::to_string(control->number()) : control->label();
            return label + " of \"" + clippedUtf8(window->title()) + "\"";
        }
        if (widget == window->topWidget() || widget == window->content())
            return "the window \"" + clippedUtf8(window->title()) + "\"";
    }
    return widget->metaObject()->className();
}

// The enabled, shown control a person could work, by label or number; error says why not.
Control* usableControl(const std::string& name, std::string& error)
{
    Control* control = TestDriver::findControl(name);
    if (!control) {
        error = "no control " + name + " in the top window";
        return nullptr;
    }
    if (control->isDisabled() || !control->window().isShown(*control)) {
        error = "control " + name + " is disabled or hidden";
        return nullptr;
    }
    return control;
}

// Where a click on the area lands; error says why a person could not click it.
std::optional<ScreenReach> reachFor(const std::string& name, const ScreenArea& area,
                                    std::string& error)
{
    // What lies past the edge of the frame's client area a person scrolls into view first.
    scrollIntoView(area);
    ScreenReach reach = screenReach(area);
    if (reach.reachable())
        return reach;
    error = name + " " + reach.fault;
    if (reach.coveredBy)
        error += " by " + describeWidget(reach.coveredBy);
    return std::nullopt;
}

// A click from the event loop, after the command that asked for it has returned (the click
// may open a modal window whose nested loop the driver goes on in).
void clickLater(const ScreenReach& reach)
{
    QPointer<QWidget> top = reach.topLevel;
    const QPoint at = reach.centre;
    QTimer::singleShot(0, top, [top, at] {
        if (top)
            UserInput::click(top, at);
    });
}

// Gives a control the focus as the Tab key would, so that the window system's keys reach it.
void focusAsTabWould(Control& control)
{
    QWidget* widget = control.widget();
    if (widget && widget->window()->focusWidget() != widget &&
        !widget->isAncestorOf(widget->window()->focusWidget()))
        widget->setFocus(Qt::TabFocusReason);
}

} // namespace

TestDriver::TestDriver()
{
    m_previousMessageHandler = setMessageHandler(
        [this](const MessageRequest& request) { return answerMessageBox(request); });
    m_previousFileHandler =
        setFileDialogHandler([this](const FileRequest& request) { return answerDialog(request); });
}

TestDriver::~TestDriver()
{
    setMessageHandler(std::move(m_previousMessageHandler));
    setFileDialogHandler(std::move(m_previousFileHandler));
    delete m_timer.data();
}

Window* TestDriver::topWindow()
{
    const std::vector<Window*> open = ThreadRegistry::openWindows();
    return open.empty() ? nullptr : open.back();
}

Control* TestDriver::findControl(std::string_view name)
{
    Window* window = topWindow();
    if (!window || name.empty())
        return nullptr;
    int number = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (ec == std::errc() && end == name.data() + name.size())
        return window->control(number);
    return window->control(text::w(name));
}

TestDriver& TestDriver::add(std::string description, std::function<bool(std::string&)> action,
                            int timeoutMs)
{
    m_steps.push_back({std::move(description), std::move(action), timeoutMs, 0});
    return *this;
}

TestDriver& TestDriver::addControlStep(std::string description,
                                       std::function<bool(std::string&)> action)
{
    add(std::move(description), std::move(action));
    m_steps.back().retryUntilIdle = true;
    return *this;
}

TestDriver& TestDriver::press(std::string_view name)
{
    return addControlStep("press " + std::string(name),
                          [name = std::string(name)](std::string& error) {
                              Control* control = usableControl(name, error);
                              if (!control)
                                  return false;
                              const ScreenArea area = control->screenArea();
                              if (!area.widget && control->number() < 0) {
                                  // A menu item is chosen from its menu.
                                  control->press();
                                  return true;
                              }
                              const auto reach = reachFor(name, area, error);
                              if (!reach)
                                  return false;
                              clickLater(*reach);
                              return true;
                          });
}

TestDriver& TestDriver::type(std::string_view name, std::string_view typed)
{
    return addControlStep(
        "type " + std::string(name),
        [name = std::string(name), typed = std::string(typed)](std::string& error) {
            auto* entry = dynamic_cast<EntryControl*>(findControl(name));
            if (!entry) {
                error = "no entry " + name + " in the top window";
                return false;
            }
            if (entry->isDisabled()) {
                error = "entry " + name + " is disabled";
                return false;
            }
            const auto reach = reachFor(name, entry->screenArea(), error);
            if (!reach)
                return false;
            // Click into the entry, take its whole text (as a drag across it would) and type over
            // it.
            QPointer<QWidget> top = reach->topLevel;
            QPointer<QWidget> edit = entry->widget();
            const QPoint at = reach->centre;
            const QString text =
                QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size()));
            QTimer::singleShot(0, top, [top, edit, at, text] {
                if (!top)
                    return;
                UserInput::click(top, at);
                if (!top)
                    return;
                if (auto* line = qobject_cast<QLineEdit*>(edit.data());
                    line && top->focusWidget() == line)
                    line->selectAll();
                if (text.isEmpty())
                    UserInput::key(top, Qt::Key_Delete, Qt::NoModifier, QString());
                else
                    UserInput::typeText(top, text);
            });
            return true;
        });
}

TestDriver& TestDriver::key(std::string_view name, std::string_view keyText)
{
    return addControlStep(
        "key " + std::string(name) + " " + std::string(keyText),
        [name = std::string(name), keyText = std::string(keyText)](std::string& error) {
            const int code = keyCodeFromName(keyText);
            if (code <= 0) {
                error = "\"" + keyText + "\" is not a key";
                return false;
            }
            Window* window = topWindow();
            if (!window) {
                error = "no window to take a key";
                return false;
            }
            QWidget* top = nullptr;
            if (!name.empty() && name != "-") {
                Control* control = findControl(name);
                if (!control || !control->widget()) {
                    error = "no control " + name + " to take a key";
                    return false;
                }
                const auto reach = reachFor(name, control->screenArea(), error);
                if (!reach)
                    return false;
                focusAsTabWould(*control);
                top = reach->topLevel;
            } else {
                Control* focused = window->control(window->focus());
                if (focused && focused->widget() && window->isShown(*focused))
                    focusAsTabWould(*focused);
                top = window->content() ? window->content()->window() : nullptr;
            }
            if (!top) {
                error = "no window to take a key";
                return false;
            }
            QPointer<QWidget> guard = top;
            QTimer::singleShot(0, top, [guard, code] {
                if (!guard)
                    return;
                const QtKey key = qtKeyOf(code);
                UserInput::key(guard, key.key, key.modifiers, key.text());
            });
            return true;
        });
}

TestDriver& TestDriver::menu(std::string_view item)
{
    return addControlStep(
        "menu " + std::string(item), [item = std::string(item)](std::string& error) {
            Window* frame = ThreadRegistry::frame();
            if (!frame) {
                error = "no frame window";
                return false;
            }
            for (Control* control : frame->menuItems()) {
                if (control->kind() == "menu")
                    continue;
                const bool byLabel = text::cp1251ToUtf8(control->label()) == item;
                const bool byText =
                    withoutAmpersands(clippedUtf8(control->text())) == withoutAmpersands(item);
                if (!byLabel && !byText)
                    continue;
                if (control->isDisabled()) {
                    error = "menu item " + item + " is disabled";
                    return false;
                }
                const ScreenArea area = control->screenArea();
                if (!area.widget) {
                    control->press();
                    return true;
                }
                const auto reach = reachFor(item, area, error);
                if (!reach)
                    return false;
                clickLater(*reach);
                return true;
            }
            error = "no menu item " + item;
            return false;
        });
}

TestDriver& TestDriver::select(std::string_view name, int row)
{
    return addControlStep("select " + std::string(name) + " " + std::to_string(row),
                          [name = std::string(name), row](std::string& error) {
                              Control* control = findControl(name);
                              if (!control) {
                                  error = "no control " + name + " in the top window";
                                  return false;
                              }
                              const ScreenArea rowArea = control->rowArea(row);
                              if (rowArea.widget) {
                                  const auto reach = reachFor(
                                      "row " + std::to_string(row) + " of " + name, rowArea, error);
                                  if (!reach)
                                      return false;
                                  clickLater(*reach);
                                  return true;
                              }
                              // A drop-down list: its entry is chosen once the control can be
                              // reached.
                              if (!reachFor(name, control->screenArea(), error))
                                  return false;
                              if (!control->selectRow(row)) {
                                  error =
                                      "cannot select row " + std::to_string(row) + " of " + name;
                                  return false;
                              }
                              return true;
                          });
}

TestDriver& TestDriver::dragColumnBorder(std::string_view name, int column, int pixels)
{
    return addControlStep("drag border " + std::string(name) + " " + std::to_string(column) + " " +
                              std::to_string(pixels),
                          [name = std::string(name), column, pixels](std::string& error) {
                              Control* control = usableControl(name, error);
                              if (!control)
                                  return false;
                              const ScreenArea border = control->columnBorderArea(column);
                              if (!border.widget) {
                                  error = "column " + std::to_string(column) + " of " + name +
                                          " has no border to drag";
                                  return false;
                              }
                              const auto reach = reachFor(
                                  "the border of column " + std::to_string(column) + " of " + name,
                                  border, error);
                              if (!reach)
                                  return false;
                              QPointer<QWidget> top = reach->topLevel;
                              const QPoint from = reach->centre;
                              QTimer::singleShot(0, top, [top, from, pixels] {
                                  if (top)
                                      UserInput::drag(top, from, from + QPoint(pixels, 0));
                              });
                              return true;
                          });
}

TestDriver& TestDriver::titleButton(std::string_view button)
{
    return addControlStep(
        "title button " + std::string(button), [name = std::string(button)](std::string& error) {
            const std::optional<TitleBarButton> which = titleBarButtonNamed(name);
            if (!which) {
                error = "\"" + name + "\" is no title-bar button";
                return false;
            }
            Window* window = topWindow();
            auto* child = window ? qobject_cast<QMdiSubWindow*>(window->topWidget()) : nullptr;
            if (!child) {
                error = "the top window is no child window of the frame";
                return false;
            }
            const auto reach =
                reachFor("the " + name + " button", titleBarButtonArea(*child, *which), error);
            if (!reach)
                return false;
            clickLater(*reach);
            return true;
        });
}

TestDriver& TestDriver::close()
{
    return add("close", [](std::string& error) {
        Window* window = topWindow();
        if (!window) {
            error = "no window to close";
            return false;
        }
        window->post(Event::CloseWindow);
        return true;
    });
}

TestDriver& TestDriver::answerMessage(unsigned button)
{
    return add("answer message " + buttonName(button), [this, button](std::string&) {
        m_messageAnswers.push_back(button);
        return true;
    });
}

TestDriver& TestDriver::answerFile(std::optional<std::string> fileName)
{
    return add("answer file", [this, fileName](std::string&) {
        m_fileAnswers.push_back(fileName);
        return true;
    });
}

TestDriver& TestDriver::answerFolder(std::optional<std::string> folder)
{
    return add("answer folder", [this, folder](std::string&) {
        m_folderAnswers.push_back(folder);
        return true;
    });
}

TestDriver& TestDriver::waitOpen(std::string_view title, int timeoutMs)
{
    return add(
        "wait open \"" + std::string(title) + "\"",
        [title = std::string(title)](std::string&) { return windowWithTitle(title, false); },
        timeoutMs);
}

TestDriver& TestDriver::waitClose(std::string_view title, int timeoutMs)
{
    return add(
        "wait close \"" + std::string(title) + "\"",
        [title = std::string(title)](std::string&) { return !windowWithTitle(title); }, timeoutMs);
}

TestDriver& TestDriver::waitIdle(int timeoutMs)
{
    return add(
        "wait idle", [this](std::string&) { return idle(); }, timeoutMs);
}

void TestDriver::watchIdle()
{
    std::string scene;
    bool busy = false;
    const std::vector<Window*> open = ThreadRegistry::openWindows();
    for (const Window* window : open) {
        // What a person sees change: titles, texts, what is enabled and shown, the focus.
        scene += window->title() + "\n" + std::to_string(window->focus()) + "\n";
        for (const Control* control : window->controls())
            scene += control->text() + (control->isDisabled() ? "d" : "") +
                     (window->isShown(*control) ? "" : "h") + "\n";
        busy = busy || !window->hasAppeared() || window->hasPendingEvents();
    }
    // A handler of the top window still runs (a long job that lets the event loop turn now
    // and then); a window below it may only be waiting for the dialog above it.
    if (!open.empty() && open.back()->isDispatching())
        busy = true;
    // A network transfer under way ends in something a person will see (a list, a box).
    if (system::transfersUnderWay())
        busy = true;
    int longestTimer = 0;
    for (const Window* window : open)
        longestTimer = std::max(longestTimer, window->runningTimerMs());
    m_quietNeeded = std::max(QuietMs, longestTimer * 3 / 2);
    // A tick that comes late means the event loop was held by work in between.
    const qint64 at = now();
    const bool late = m_lastWatch && at - m_lastWatch > 4 * TickMs;
    m_lastWatch = at;
    if (busy || late || scene != m_lastScene || !m_quietSince)
        m_quietSince = at;
    m_lastScene = std::move(scene);
}

bool TestDriver::idle() const
{
    return m_quietSince && now() - m_quietSince >= m_quietNeeded;
}

TestDriver& TestDriver::dump(std::function<void(const std::string&)> sink)
{
    return add("dump", [sink = std::move(sink)](std::string&) {
        sink(stateDump());
        return true;
    });
}

TestDriver& TestDriver::call(std::function<void()> step)
{
    return add("call", [step = std::move(step)](std::string&) {
        step();
        return true;
    });
}

void TestDriver::note(const std::string& line)
{
    m_log.push_back(line);
    if (m_logSink)
        m_logSink(line);
}

unsigned TestDriver::answerMessageBox(const MessageRequest& request)
{
    m_messages.push_back(request);
    std::string captions;
    for (const ShownButton& shown : shownButtons(request.buttons))
        captions += (captions.empty() ? "" : ",") + text::cp1251ToUtf8(shown.caption);
    unsigned answer = 0;
    if (m_messageAnswers.empty()) {
        if (m_failure.empty())
            m_failure = "unexpected message box: " + shownText(request);
        const std::vector<ShownButton> shown = shownButtons(request.buttons);
        answer = shown.back().bit;
    } else {
        answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
    }
    note("message \"" + text::cp1251ToUtf8(request.caption) + "\" \"" + shownText(request) +
         "\" [" + captions + "] -> " + buttonName(answer));
    return answer;
}

std::optional<QString> TestDriver::answerDialog(const FileRequest& request)
{
    auto& answers = request.folder ? m_folderAnswers : m_fileAnswers;
    const char* kind = request.folder ? "folder" : "file";
    if (answers.empty()) {
        if (m_failure.empty())
            m_failure =
                std::string("unexpected ") + kind + " dialog: " + text::cp1251ToUtf8(request.title);
        note(std::string(kind) + " dialog \"" + text::cp1251ToUtf8(request.title) + "\" -> cancel");
        return std::nullopt;
    }
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    note(std::string(kind) + " dialog \"" + text::cp1251ToUtf8(request.title) + "\" -> " +
         (answer ? *answer : std::string("cancel")));
    if (answer)
        return QString::fromStdString(*answer);
    return std::nullopt;
}

void TestDriver::start(std::function<void(const std::string&)> done, int timeoutMs)
{
    m_done = std::move(done);
    m_failure.clear();
    m_running = true;
    m_runDeadline = timeoutMs > 0 ? now() + timeoutMs : 0;
    m_modalsAtStart = openModalWindows();
    if (!m_timer) {
        m_timer = new QTimer;
        m_timer->setInterval(TickMs);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [this] { tick(); });
    }
    m_timer->start();
}

void TestDriver::tick()
{
    if (m_ticking || !m_running)
        return;
    m_ticking = true;
    watchIdle();
    if (m_failure.empty() && m_runDeadline && now() > m_runDeadline)
        m_failure = "time ran out" + (m_steps.empty() ? std::string(" with a modal window open")
                                                      : " at: " + m_steps.front().description);
    while (m_failure.empty() && !m_steps.empty()) {
        Step& step = m_steps.front();
        if (!step.deadline)
            step.deadline = now() + step.timeoutMs;
        std::string error;
        const bool done = step.action(error);
        if (!error.empty() && step.retryUntilIdle && !idle() && now() <= step.deadline)
            break;
        if (!error.empty()) {
            m_failure = step.description + ": " + error;
            break;
        }
        if (!done) {
            if (now() > step.deadline)
                m_failure = step.description + ": time ran out";
            break;
        }
        // One input per tick, so that what it causes happens before the next command.
        const bool input = !step.description.starts_with("answer");
        m_steps.pop_front();
        if (input)
            break;
    }
    // A blocking run can only return once the modal windows its commands opened are closed.
    const bool modalLeftOpen = m_blocking && openModalWindows() > m_modalsAtStart;
    if (!m_failure.empty() || (m_steps.empty() && !modalLeftOpen))
        finishRun(m_failure);
    m_ticking = false;
}

void TestDriver::finishRun(const std::string& result)
{
    if (!result.empty()) {
        note("failed: " + result);
        m_steps.clear();
        // Close modal windows so that nested event loops unwind to the caller.
        std::vector<Window*> open = ThreadRegistry::openWindows();
        std::reverse(open.begin(), open.end());
        for (Window* window : open)
            if (window->isModal())
                window->finish();
    }
    m_running = false;
    if (m_timer)
        m_timer->stop();
    if (m_done) {
        const auto done = std::move(m_done);
        m_done = nullptr;
        done(result);
    }
}

std::string TestDriver::run(int timeoutMs)
{
    std::string result;
    bool finished = false;
    QEventLoop loop;
    m_blocking = true;
    start(
        [&](const std::string& outcome) {
            result = outcome;
            finished = true;
            loop.quit();
        },
        timeoutMs);
    if (!finished)
        loop.exec();
    m_blocking = false;
    // What the test does next (closing the data files, say) comes after the closed windows'
    // release, as it would for a person.
    ThreadRegistry::runQueuedReleases();
    return result;
}

} // namespace platform::ui
