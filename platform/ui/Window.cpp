#include "platform/ui/Window.h"

#include "platform/storage/LogicalThread.h"
#include "platform/system/WinInetWaiting.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Appearance.h"
#include "platform/ui/Control.h"
#include "platform/ui/ControlFactory.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/DialogKeys.h"
#include "platform/ui/Event.h"
#include "platform/ui/FrameCloseFilter.h"
#include "platform/ui/FrameRoom.h"
#include "platform/ui/KeyCodes.h"
#include "platform/ui/Locale.h"
#include "platform/ui/MenuItemControl.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/WindowController.h"
#include "platform/ui/WindowPlacement.h"
#include "platform/ui/WindowWidget.h"
#include "platform/ui/keyboard/KeyMessage.h"

#include <QApplication>
#include <QEventLoop>
#include <QChildEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace platform::ui {

std::uint8_t PendingRequest = 0;
std::uint8_t LastResponse = 0;

namespace {

std::map<int, Window::OpenHook>& openHooks()
{
    static std::map<int, Window::OpenHook> hooks;
    return hooks;
}

void passKeyToProcedure(Control& control, const QKeyEvent& event)
{
    const keyboard::KeyMessage key = keyboard::keyMessageOf(event);
    if (key.message != 0)
        control.procedure()(&control, key.message, key.virtualKey, 0);
}

// Moves a child window back inside the frame's client area where it would reach past it
// (the cascade of the MDI area or a defined position may put it partly outside).
void keepInside(QWidget& child, const QWidget& client)
{
    const QRect area = client.rect();
    QRect at = child.geometry();
    at.moveLeft(std::max(0, std::min(at.left(), area.width() - at.width())));
    at.moveTop(std::max(0, std::min(at.top(), area.height() - at.height())));
    if (at.topLeft() != child.pos())
        child.move(at.topLeft());
}

} // namespace

Window::Window(WindowDefinition definition) : m_definition(std::move(definition))
{
    m_font = fontOf(m_definition.font, QApplication::font());
    m_alertKeys = m_definition.alertKeys;
    build();
}

Window::~Window()
{
    m_destroying = true;
    if (m_open && isFrame())
        stopWatchingFrameCloseRequests();
    if (m_open) {
        m_open = false;
        ThreadRegistry::windowClosed(*this);
    }
    if (m_loop)
        m_loop->quit();
    // Widgets go before the controls, whose signal handlers they might still call.
    delete m_top.data();
    m_menuItems.clear();
    m_controls.clear();
}

void Window::build()
{
    if (isFrame()) {
        buildFrame();
        return;
    }
    m_content = new WindowWidget(*this);
    m_top = m_content;
    m_content->setFont(m_font);
    m_content->setWindowTitle(text::toQString(m_definition.title));
    const QIcon windowIcon = icon(m_definition.icon);
    if (!windowIcon.isNull())
        m_content->setWindowIcon(windowIcon);
    m_content->installEventFilter(m_content);
    for (const ControlDefinition& definition : m_definition.controls)
        buildControl(definition);
    const DialogUnits du = units();
    int width = 0;
    int height = 0;
    for (const auto& control : m_controls)
        if (QWidget* w = control->widget()) {
            width = std::max(width, w->geometry().right() + 1);
            height = std::max(height, w->geometry().bottom() + 1);
        }
    // A window without a size takes what its controls need.
    m_content->resize(
        m_definition.at.width ? du.toPixelsX(*m_definition.at.width) : width + du.toPixelsX(4),
        m_definition.at.height ? du.toPixelsY(*m_definition.at.height) : height + du.toPixelsY(4));
    if (m_definition.timer > 0)
        m_timerInterval = m_definition.timer;
}

void Window::buildFrame()
{
    auto* frame = new FrameWidget(*this);
    m_top = frame;
    frame->setFont(m_font);
    frame->setWindowTitle(text::toQString(m_definition.title));
    const QIcon windowIcon = icon(m_definition.icon);
    if (!windowIcon.isNull())
        frame->setWindowIcon(windowIcon);
    m_mdiArea = new QMdiArea(frame);
    // A child window that reaches past the client area stays reachable through scroll bars.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    frame->setCentralWidget(m_mdiArea);
    frame->installEventFilter(frame);
    QToolBar* toolbar = nullptr;
    std::map<int, QMenu*> menus;
    for (const ControlDefinition& definition : m_definition.menuItems) {
        std::unique_ptr<MenuItemControl> item;
        if (definition.kind == "menu") {
            QMenu* menu = frame->menuBar()->addMenu(text::toQString(definition.text));
            menus[definition.number] = menu;
            item = std::make_unique<MenuItemControl>(*this, definition, menu->menuAction(), menu);
        } else if (definition.kind == "item") {
            auto* action = menus.at(definition.parent)->addAction(QString());
            item = std::make_unique<MenuItemControl>(*this, definition, action);
        } else {
            if (!toolbar) {
                toolbar = frame->addToolBar(QStringLiteral("toolbar"));
                toolbar->setMovable(false);
            }
            auto* action = toolbar->addAction(QString());
            item = std::make_unique<MenuItemControl>(*this, definition, action);
            item->setButtonWidget(toolbar->widgetForAction(action));
        }
        m_menuItems.push_back(std::move(item));
    }
    const DialogUnits du = units();
    frame->resize(du.toPixelsX(m_definition.at.width.value_or(400)),
                  du.toPixelsY(m_definition.at.height.value_or(300)));
    if (m_definition.timer > 0)
        m_timerInterval = m_definition.timer;
}

void Window::buildControl(const ControlDefinition& definition)
{
    std::unique_ptr<Control> control = ControlFactory::create(*this, definition, m_content);
    if (!control)
        throw DefinitionError(m_definition.file + ": window \"" + m_definition.label +
                              "\": no control kind \"" + definition.kind + "\"");
    Control* raw = control.get();
    m_controls.push_back(std::move(control));
    if (QWidget* w = raw->widget()) {
        m_widgets[w] = raw;
        w->installEventFilter(m_content);
        for (QWidget* child : w->findChildren<QWidget*>()) {
            m_widgets[child] = raw;
            child->installEventFilter(m_content);
        }
        placeControl(*raw);
        // A holder (tab sheet, group box) is drawn beneath every other control: one declared
        // before it over its area stays visible and can be clicked.
        if (definition.kind == "sheet" || definition.kind == "group" || definition.kind == "option")
            w->lower();
    }
}

void Window::placeControl(Control& control)
{
    QWidget* w = control.widget();
    const Placement& at = control.definition().at;
    const DialogUnits du = units();
    // A missing coordinate continues from the control declared before (same line, next place).
    int x = 0;
    int y = 0;
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        if (it->get() == &control || !(*it)->widget())
            continue;
        const QRect previous = (*it)->widget()->geometry();
        x = previous.right() + 1;
        y = previous.top();
        break;
    }
    if (at.x)
        x = du.toPixelsX(*at.x);
    if (at.y)
        y = du.toPixelsY(*at.y);
    // The natural size only where the definition gives none: asking a holder for it before its
    // parts are added would fix their sizes at nothing.
    const bool sized = at.width && at.height;
    const QSize hint = sized ? QSize() : w->sizeHint();
    const int width = !at.width ? hint.width()
                      : at.x    ? du.spanX(*at.x, *at.width)
                                : du.toPixelsX(*at.width);
    const int height = !at.height ? hint.height()
                       : at.y     ? du.spanY(*at.y, *at.height)
                                  : du.toPixelsY(*at.height);
    // A line of zero thickness still takes one pixel.
    w->setGeometry(x, y, std::max(width, 1), std::max(height, 1));
}

void Window::open()
{
    if (m_open || m_destroying)
        return;
    m_thread = storage::currentThread();
    m_open = true;
    m_wasOpened = true;
    ThreadRegistry::windowOpened(*this);
    Window* frame = ThreadRegistry::frame();
    if (!isFrame() && !m_modal && frame && frame != this && frame->mdiArea()) {
        const QSize defined = m_content->size();
        QMdiSubWindow* sub = frame->mdiArea()->addSubWindow(m_content);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        // A window of placed controls has no size hint: keep the size its definition gave it,
        // plus the sub-window's own frame.
        sub->adjustSize();
        sub->resize(sub->size() - m_content->size() + defined);
        m_top = sub;
    } else if (m_modal) {
        if (frame && frame != this)
            m_content->setParent(frame->topWidget(), Qt::Dialog);
        m_content->setWindowModality(Qt::ApplicationModal);
    }
    if (m_definition.at.x || m_definition.at.y) {
        const DialogUnits du = units();
        m_top->move(du.toPixelsX(m_definition.at.x.value_or(0)),
                    du.toPixelsY(m_definition.at.y.value_or(0)));
    }
    refresh(true);
    applyVisibility();
    // The frame opens where the person sees all of it, so its client size is what they see;
    // so does every other window of its own.
    if (isFrame()) {
        const std::optional<ScreenPlacement> left =
            m_placementSettings ? fetchPlacement(*m_placementSettings, m_placementSection, units())
                                : std::nullopt;
        showFrameOnScreen(*m_top, *m_mdiArea->viewport(), designRoomOfWindows(*m_mdiArea), left);
        watchFrameCloseRequests();
    } else if (m_top->isWindow()) {
        showOnScreen(*m_top);
    } else {
        m_top->show();
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_top.data()))
        keepInside(*sub, *frame->mdiArea()->viewport());
    m_shown = true;
    if (m_timerInterval > 0)
        setTimer(m_timerInterval);
    // Events wait for the event loop: the code that opened the window (an init) finishes first.
    QTimer::singleShot(0, m_top, [this] { started(); });
}

void Window::started()
{
    if (!m_open || m_started)
        return;
    m_started = true;
    {
        const storage::ThreadScope scope(m_thread);
        for (const auto& [id, hook] : std::map(openHooks()))
            if (m_open)
                hook(*this);
        if (m_open && m_controller)
            m_controller->openHook();
    }
    m_queue.push_front({Event::OpenWindow, 0, 0});
    // Without a control chosen by the program, the first one that takes the focus gets it.
    if (!m_focus)
        for (const auto& control : m_controls)
            if (control->takesFocus() && isShown(*control) && !control->isDisabled()) {
                select(control->number());
                break;
            }
    // The entry that has the focus as the window appears shows its value selected (the values
    // are shown after the program chose the focus), so that typing replaces it.
    if (Control* focused = control(m_focus))
        if (auto* line = qobject_cast<QLineEdit*>(focused->widget()))
            line->selectAll();
    if (!m_dispatching)
        drain();
    // The first tick of a timer the opening started comes at once, with the window's start;
    // the window shows once its work and what it posted are done.
    if (m_firstTickOpens && m_open) {
        if (m_timer && m_timer->isActive())
            raise(Event::Timer, 0);
        QTimer::singleShot(0, m_top, [this] { showOpened(); });
    }
}

void Window::showOpened()
{
    m_firstTickOpens = false;
    if (!m_top)
        return;
    m_top->setAttribute(Qt::WA_TransparentForMouseEvents, false);
    m_top->setUpdatesEnabled(true);
    m_top->update();
}

void Window::exec()
{
    if (!m_open)
        return;
    QEventLoop loop;
    m_loop = &loop;
    if (m_modal)
        ThreadRegistry::enterModal();
    loop.exec();
    if (m_modal)
        ThreadRegistry::leaveModal();
    m_loop = nullptr;
}

void Window::finish()
{
    if (!m_open)
        return;
    endWaitsOfRunningHandler();
    if (isFrame()) {
        stopWatchingFrameCloseRequests();
        ThreadRegistry::closeDown(*this);
    }
    if (m_placementSettings && m_top && m_shown)
        storePlacement(*m_placementSettings, m_placementSection, *m_top, units());
    m_open = false;
    m_queue.clear();
    if (m_timer)
        m_timer->stop();
    ThreadRegistry::windowClosed(*this);
    if (auto* frame = dynamic_cast<FrameWidget*>(m_top.data()))
        frame->allowClose();
    if (m_content)
        m_content->allowClose();
    if (m_top)
        m_top->hide();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_top.data()))
        if (QMdiArea* area = sub->mdiArea())
            area->removeSubWindow(sub);
    if (m_loop)
        m_loop->quit();
    if (m_finished) {
        const auto finished = std::move(m_finished);
        m_finished = nullptr;
        finished();
    }
}

void Window::keepPlacement(SettingsFile& settings, std::string section)
{
    m_placementSettings = &settings;
    m_placementSection = std::move(section);
}

void Window::closeDown()
{
    if (!m_open)
        return;
    if (m_dispatching) {
        m_closingDown = true;
        raise(Event::CloseDown, 0);
        return;
    }
    raise(Event::CloseDown, 0);
    finish();
}

void Window::post(int event, int control)
{
    QObject* context = m_content ? static_cast<QObject*>(m_content) : m_top.data();
    QTimer::singleShot(0, context, [this, event, control] {
        if (event == Event::Accepted && control != 0)
            userAccepted(control);
        else
            raise(event, control);
    });
}

void Window::raise(int event, int control, int key)
{
    if (!m_open || m_destroying)
        return;
    if (event == Event::CloseWindow || event == Event::CloseDown)
        endWaitsOfRunningHandler();
    // Timer ticks and resizes that pile up while a handler runs count once.
    if (event == Event::Timer || event == Event::Sized)
        for (const Pending& pending : m_queue)
            if (pending.event == event)
                return;
    m_queue.push_back({event, control, key});
    if (!m_dispatching && m_started)
        drain();
}

void Window::drain()
{
    m_dispatching = true;
    while (!m_queue.empty() && m_open) {
        const Pending pending = m_queue.front();
        m_queue.pop_front();
        dispatch(pending);
    }
    m_dispatching = false;
    if (m_closingDown) {
        m_closingDown = false;
        finish();
    }
}

void Window::dispatch(const Pending& pending)
{
    const storage::ThreadScope scope(m_thread);
    m_event = pending.event;
    m_field = pending.control;
    m_keyCode = pending.key;
    int level = Level::Benign;
    const auto [first, last] = m_handlers.equal_range(pending.event);
    std::vector<EventHandler> handlers;
    for (auto it = first; it != last; ++it)
        handlers.push_back(it->second);
    m_transferMark = system::transferMark();
    m_inHandler = true;
    try {
        for (const EventHandler& handler : handlers) {
            level = handler(*this);
            if (level != Level::Benign || !m_open)
                break;
        }
        if (level == Level::Benign && m_controller && m_open)
            level = m_controller->takeEvent();
    } catch (const std::exception& error) {
        // An exception must not cross the Qt event loop; the user is told and the window goes on.
        message(text::utf8ToCp1251(error.what()), text::w("Ошибка"), MessageIcon::Hand);
        level = Level::Notify;
    }
    m_inHandler = false;
    if (!m_open)
        return;
    if (level == Level::Fatal || (level != Level::Notify && pending.event == Event::CloseWindow)) {
        finish();
        return;
    }
    refresh(false);
}

// A close while a handler of this window runs: the handler may be waiting on the network, and
// the close would wait behind it. The transfers it began end now (those of handlers below it
// go on), the handler returns and the close is carried out.
void Window::endWaitsOfRunningHandler()
{
    if (m_inHandler)
        system::cancelTransfersSince(m_transferMark);
}

void Window::userAccepted(int control)
{
    // Pressing a button completes the entry being typed in first, as leaving it would.
    for (const auto& other : m_controls)
        if (other->number() != control)
            other->completePending();
    if (Control* target = this->control(control))
        if (!target->completePending())
            raise(Event::Accepted, control);
}

void Window::userClose()
{
    raise(Event::CloseWindow, 0);
}

void Window::resized()
{
    // The first layout while the window appears is not a resize.
    if (m_open && m_shown)
        raise(Event::Sized, 0);
}

void Window::activated()
{
    if (m_open && !m_dispatching)
        raise(Event::GainFocus, 0);
}

bool Window::filterEvent(QObject* object, QEvent* event)
{
    if (event->type() == QEvent::ChildAdded) {
        // Widgets a control makes later (a list's row editor, a drop-down's popup) are watched
        // as its own: their key presses reach the control's procedure like any other.
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
            child->installEventFilter(m_content);
            for (QWidget* grandchild : child->findChildren<QWidget*>())
                grandchild->installEventFilter(m_content);
        }
        return false;
    }
    if (!m_open)
        return false;
    Control* control = controlOfObject(object);
    if (event->type() == QEvent::FocusIn) {
        // While the window appears the window system gives the focus to its first control;
        // the program's choice, or the first control at the start, is what counts.
        if (control && control->number() != m_focus && m_started) {
            m_focus = control->number();
            raise(Event::Selected, m_focus);
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int code = keyCodeOf(*keyEvent);
    if (code == 0) {
        // A modifier pressed alone still reaches the control's procedure.
        if (control)
            passKeyToProcedure(*control, *keyEvent);
        return false;
    }
    if (!m_inAlias) {
        const int alias = Locale::instance().mapKey(code);
        if (alias != code) {
            // The key is delivered as its alias, and an alias is not followed further.
            const QtKey key = qtKeyOf(alias);
            QKeyEvent aliasEvent(QEvent::KeyPress, key.key, key.modifiers, key.text());
            m_inAlias = true;
            QCoreApplication::sendEvent(object, &aliasEvent);
            m_inAlias = false;
            return true;
        }
    }
    if (control)
        passKeyToProcedure(*control, *keyEvent);
    if (control && std::find(control->alertKeys().begin(), control->alertKeys().end(), code) !=
                       control->alertKeys().end()) {
        raise(Event::AlertKey, control->number(), code);
        return true;
    }
    if (std::find(m_alertKeys.begin(), m_alertKeys.end(), code) != m_alertKeys.end()) {
        raise(Event::AlertKey, 0, code);
        return true;
    }
    return takeDialogKey(*this, control, code);
}

Control* Window::controlOfObject(QObject* object) const
{
    for (QObject* o = object; o; o = o->parent()) {
        const auto it = m_widgets.find(o);
        if (it != m_widgets.end())
            return it->second;
    }
    return nullptr;
}

void Window::addAlertKey(int control, int key)
{
    if (control == 0) {
        m_alertKeys.push_back(key);
        return;
    }
    if (Control* target = this->control(control))
        target->addAlertKey(key);
}

void Window::addEventHandler(int event, EventHandler handler)
{
    m_handlers.emplace(event, std::move(handler));
}

int Window::addOpenHook(OpenHook hook)
{
    static int lastId = 0;
    openHooks()[++lastId] = std::move(hook);
    return lastId;
}

void Window::removeOpenHook(int id)
{
    openHooks().erase(id);
}

void Window::setTimer(int hundredths)
{
    m_timerInterval = std::max(0, hundredths);
    if (m_timerInterval == 0) {
        if (m_timer)
            m_timer->stop();
        return;
    }
    if (!m_timer) {
        m_timer = new QTimer(m_top);
        QObject::connect(m_timer, &QTimer::timeout, m_top, [this] { raise(Event::Timer, 0); });
    }
    if (m_open)
        m_timer->start(m_timerInterval * 10);
}

} // namespace platform::ui
