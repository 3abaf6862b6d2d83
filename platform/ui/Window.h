#pragma once

#include "platform/ui/DialogUnits.h"
#include "platform/ui/Property.h"
#include "platform/ui/VariableBinding.h"
#include "platform/ui/WindowDefinition.h"

#include "platform/ui/WindowWidget.h"

#include <QFont>
#include <QIcon>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QEvent;
class QEventLoop;

namespace platform::ui {

class Control;
class SettingsFile;
class WindowController;

// A window built from its definition: its controls by number, its events (dispatched one at a
// time, in the window's logical thread, to its registered handlers and then its controller),
// its properties, timer and alert keys.
class Window
{
public:
    explicit Window(WindowDefinition definition);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const WindowDefinition& definition() const { return m_definition; }
    bool isFrame() const { return m_definition.kind == "frame"; }

    int thread() const { return m_thread; }
    WindowController* controller() const { return m_controller; }
    void setController(WindowController* controller) { m_controller = controller; }

    // Opening: the window joins its logical thread (the current one) and shows itself (an MDI
    // child of the frame unless modal). From the event loop it then runs the open hooks and the
    // controller's, and raises the open event; events raised before wait for it.
    void open();
    bool isOpen() const { return m_open; }
    // Open and its open event raised (false while it is still appearing).
    bool isStarted() const { return m_started; }
    // Started, and a window whose opening started its timer has done the work of the first
    // tick, with what that tick posted: what it shows now stays where it is.
    bool hasAppeared() const { return m_started && !m_firstTickOpens; }
    // Events are queued for it and not yet dispatched.
    bool hasPendingEvents() const { return !m_queue.empty(); }
    // The interval of its running timer in milliseconds (0: none runs).
    int runningTimerMs() const { return m_timer && m_timer->isActive() ? m_timer->interval() : 0; }
    bool wasOpened() const { return m_wasOpened; }
    // A frame opens where the person left it, kept in a section of the settings file (read
    // when it opens, written when it closes); without one it opens maximised.
    void keepPlacement(SettingsFile& settings, std::string section);
    void setModal(bool modal) { m_modal = modal; }
    bool isModal() const { return m_modal; }
    // A handler of this window is running (perhaps waiting in a dialog's nested loop).
    bool isDispatching() const { return m_dispatching; }
    // Runs a nested event loop until the window closes.
    void exec();
    // Ends the window at once (the runtime's close after a close request).
    void finish();
    // The program is closing: the close-down event, then the end. A window whose handler is
    // running (a dialog of it open) gets the event once that handler has returned, so what it
    // stores on closing is stored all the same.
    void closeDown();
    void setFinishedCallback(std::function<void()> callback) { m_finished = std::move(callback); }

    // Queues an event for this window; an accepted event for a control presses it.
    void post(int event, int control = 0);

    // The current event.
    int event() const { return m_event; }
    int field() const { return m_field; }
    int keyCode() const { return m_keyCode; }
    void setKeyCode(int code) { m_keyCode = code; }
    int accepted() const;
    int selected() const;

    // Controls by number (negative: menu items and toolbar buttons) and by label.
    Control* control(int number) const;
    Control* control(std::string_view label) const;
    int number(std::string_view label) const;
    std::vector<Control*> controls() const;
    std::vector<Control*> menuItems() const;
    // The control after `after` in declaration order (0 starts, 0 ends).
    int nextField(int after) const;

    int focus() const { return m_focus; }
    void select(int control);
    void enable(int control);
    void disable(int control);
    void hide(int control);
    void unhide(int control);
    bool isChecked(int control) const;
    int currentTab(int sheet) const;
    // Variables to screen (0: every control), forced.
    void display(int control = 0);
    // Screen to variables (0: every control).
    void update(int control = 0);

    template <typename T> bool bind(std::string_view use, T& variable)
    {
        return bindUse(use, bindingTo(variable));
    }
    bool bindUse(std::string_view use, std::unique_ptr<VariableBinding> binding);
    template <typename T> bool bindControl(int control, T& variable)
    {
        return bindNumber(control, bindingTo(variable));
    }
    bool bindNumber(int control, std::unique_ptr<VariableBinding> binding);

    std::string property(int control, Property property) const;
    int propertyNumber(int control, Property property) const;
    bool setProperty(int control, Property property, std::string_view value);
    bool setProperty(int control, Property property, long long value);

    // Handlers run before the controller; a result other than Level::Benign consumes the event.
    using EventHandler = std::function<int(Window&)>;
    void addEventHandler(int event, EventHandler handler);
    // Hooks run after every window opens, before its first event.
    using OpenHook = std::function<void(Window&)>;
    static int addOpenHook(OpenHook hook);
    static void removeOpenHook(int id);

    void addAlertKey(int control, int key);

    // The runtime's side, for controls and the test driver.
    void raise(int event, int control, int key = 0);
    void userAccepted(int control);
    void applyVisibility();
    // Shown when neither it nor a holder is hidden and every tab holding it is current.
    bool isShown(const Control& control) const;
    bool filterEvent(QObject* object, QEvent* event);
    // The control a widget belongs to (nullptr: none of this window's).
    Control* controlOfObject(QObject* object) const;
    void userClose();
    void resized();
    void activated();

    std::string title() const;
    QFont font() const { return m_font; }
    DialogUnits units() const { return DialogUnits(m_font); }
    QWidget* content() const;
    QWidget* topWidget() const;
    QMdiArea* mdiArea() const { return m_mdiArea; }
    QIcon icon(std::string_view name) const;
    int controlPlacement(const Control& control, Property property) const;
    void setControlPlacement(Control& control, Property property, int value);

private:
    struct Pending
    {
        int event;
        int control;
        int key;
    };

    void build();
    void buildFrame();
    void buildControl(const ControlDefinition& definition);
    void placeControl(Control& control);
    void started();
    void dispatch(const Pending& pending);
    void drain();
    void refresh(bool force);
    bool shownThroughParents(const Control& control) const;
    std::string windowProperty(Property property) const;
    bool setWindowProperty(Property property, std::string_view value);
    void setTimer(int hundredths);
    // Draws and lets clicks reach the window held back for its first tick.
    void showOpened();
    void endWaitsOfRunningHandler();

    WindowDefinition m_definition;
    QFont m_font;
    QPointer<QWidget> m_top;
    QPointer<WindowWidget> m_content;
    QPointer<QMdiArea> m_mdiArea;
    QPointer<QTimer> m_timer;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<std::unique_ptr<Control>> m_menuItems;
    std::map<QObject*, Control*> m_widgets;
    std::vector<int> m_alertKeys;
    std::multimap<int, EventHandler> m_handlers;
    WindowController* m_controller = nullptr;
    std::function<void()> m_finished;
    QEventLoop* m_loop = nullptr;
    std::deque<Pending> m_queue;
    int m_thread = 0;
    int m_event = 0;
    int m_field = 0;
    int m_keyCode = 0;
    int m_focus = 0;
    int m_timerInterval = 0;
    bool m_open = false;
    bool m_wasOpened = false;
    bool m_shown = false;
    bool m_started = false; // the open event has been raised; events dispatch from now on
    // Its opening started its timer: the first tick's work belongs to the opening.
    bool m_firstTickOpens = false;
    bool m_modal = false;
    bool m_resizable = true;
    QSize m_minimumWhileResizable; // the minimum size to go back to when resizing is on again
    bool m_dispatching = false;
    bool m_closingDown = false; // ends once the running handler and the close-down are done
    // A handler of this window is on the stack, and the network transfers begun before it.
    bool m_inHandler = false;
    uint64_t m_transferMark = 0;
    bool m_destroying = false;
    bool m_inAlias = false;
    SettingsFile* m_placementSettings = nullptr;
    std::string m_placementSection;
};

} // namespace platform::ui
