#include "platform/ui/WindowController.h"

#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/ProgramEnd.h"

namespace platform::ui {

WindowController::WindowController(std::string_view module, std::string_view label)
    : WindowController(loadWindowDefinition(module, label))
{
}

WindowController::WindowController(WindowDefinition definition)
    : m_window(std::make_unique<Window>(std::move(definition)))
{
    m_window->setController(this);
}

WindowController::~WindowController()
{
    m_window->setController(nullptr);
}

int WindowController::run()
{
    // Code that runs on after the program was asked to end opens nothing more.
    if (programLeaving())
        return m_response;
    m_window->setModal(!m_window->isFrame());
    int level = init();
    if (level == Level::Benign) {
        // One that init opened and something closed meanwhile (the program's end) stays closed.
        if (!m_window->wasOpened())
            m_window->open();
        m_window->exec();
    }
    m_window->finish();
    kill();
    LastResponse = static_cast<std::uint8_t>(m_response);
    return m_response;
}

int WindowController::init()
{
    m_request = PendingRequest;
    return Level::Benign;
}

int WindowController::kill()
{
    return Level::Benign;
}

void WindowController::reset(bool)
{
}

void WindowController::update()
{
    m_window->update(0);
}

int WindowController::takeEvent()
{
    int level = Level::Benign;
    switch (event()) {
    case Event::Accepted:
        level = takeAccepted();
        break;
    case Event::NewSelection:
        level = takeNewSelection();
        break;
    case Event::Selected:
        level = takeSelected();
        break;
    default:
        break;
    }
    if (level != Level::Benign)
        return level;
    return field() != 0 ? takeFieldEvent() : takeWindowEvent();
}

int WindowController::takeAccepted()
{
    const int control = accepted();
    if (control == 0)
        return Level::Benign;
    if (control == m_closeButton) {
        m_response = Response::Cancelled;
        m_window->post(Event::CloseWindow);
        return Level::Benign;
    }
    if (const Control* c = m_window->control(control); c && c->definition().action == "close")
        m_window->post(Event::CloseWindow);
    return Level::Benign;
}

} // namespace platform::ui
