#pragma once

#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

#include <memory>
#include <string_view>

namespace platform::ui {

// The base of every window procedure: it owns the window built from the procedure's
// definition and runs initialise, the event loop and release. The take* operations receive the
// window's events in its logical thread; each override calls the base operation where the
// program's design says the framework's handling runs.
class WindowController
{
public:
    // Loads the definition (DefinitionError when it is missing or bad) and builds the window.
    WindowController(std::string_view module, std::string_view label);
    explicit WindowController(WindowDefinition definition);
    virtual ~WindowController();
    WindowController(const WindowController&) = delete;
    WindowController& operator=(const WindowController&) = delete;

    Window& window() { return *m_window; }
    const Window& window() const { return *m_window; }

    // Initialise, the event loop (modal, nested; the frame's is the program's loop) and release;
    // the response is left in LastResponse and returned. A window not opened by init is opened
    // here; an init returning anything but Level::Benign skips the loop, and release still runs.
    virtual int run();
    virtual int init();
    virtual int kill();
    // Runs when the window has opened, before its first event.
    virtual void openHook() {}
    // Re-reads what depends on changed variables (lists); force re-reads everything.
    virtual void reset(bool force);
    // Copies every control's screen value into its variable.
    virtual void update();

    // Dispatches the current event: accepted, new selection and selected to their operations,
    // then field events to takeFieldEvent and window events to takeWindowEvent.
    virtual int takeEvent();
    // The framework's handling: the close button and the standard close action post the close
    // request.
    virtual int takeAccepted();
    virtual int takeFieldEvent() { return Level::Benign; }
    virtual int takeNewSelection() { return Level::Benign; }
    virtual int takeSelected() { return Level::Benign; }
    virtual int takeWindowEvent() { return Level::Benign; }

    // The button whose press cancels the window (response Response::Cancelled) and closes it.
    void setCloseButton(int control) { m_closeButton = control; }
    int closeButton() const { return m_closeButton; }

    int request() const { return m_request; }
    void setRequest(int request) { m_request = request; }
    int response() const { return m_response; }
    void setResponse(int response) { m_response = response; }

    // The current event of the window.
    int event() const { return m_window->event(); }
    int field() const { return m_window->field(); }
    int keyCode() const { return m_window->keyCode(); }
    int accepted() const { return m_window->accepted(); }
    int selected() const { return m_window->selected(); }

private:
    std::unique_ptr<Window> m_window;
    int m_request = 0;
    int m_response = Response::Cancelled;
    int m_closeButton = 0;
};

} // namespace platform::ui
