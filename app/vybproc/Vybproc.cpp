#include "app/vybproc/Vybproc.h"

#include "app/dictionary/Dictionary.h"
#include "app/dictionary/Layouts.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/RecordFileManager.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/TypeAheadLocator.h"

#include <QFont>

#include <cstddef>

namespace app {

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Procedure = "vybproc";
constexpr std::size_t ResultLength = 55;

// The refresh counters flip between 1 and 2, which makes their list read itself again.
void flip(uint8_t& counter)
{
    counter = static_cast<uint8_t>(3 - counter);
}

char digit(int value)
{
    return static_cast<char>('0' + value % 10);
}

} // namespace

Vybproc::Vybproc(std::string_view phrase, uint8_t applicabilityMode, uint8_t manufacturerMode,
                 uint8_t showOnlyMarkedTypes, uint8_t showOnlyMarkedManufacturers)
    : WindowController("quelbarto$quelb022", "P1$WINDOW"),
      m_applicability(applicabilityMode),
      m_manufacturer(manufacturerMode),
      m_phrase(phrase),
      m_showOnlyManufacturers(showOnlyMarkedManufacturers),
      m_showOnlyTypes(showOnlyMarkedTypes),
      m_result(ResultLength, ' ')
{
}

Vybproc::~Vybproc()
{
    releaseLists();
}

void Vybproc::releaseLists()
{
    for (Side* side : {&m_manufacturers, &m_types}) {
        side->watcher.reset();
        if (side->control)
            side->control->attach(nullptr);
        side->control = nullptr;
        side->list.reset();
    }
}

int Vybproc::init()
{
    GlobalErrors().pushProcedure(Procedure);
    WindowController::init();
    PendingRequest = 0;
    LastResponse = 0;
    m_proizOpened = RelatePROIZ && RelatePROIZ->open() == 0;
    m_sprprOpened = RelateSPRPR && RelateSPRPR->open() == 0;

    Window& win = window();
    win.bind("KOD1", m_applicability);
    win.bind("KOD2", m_manufacturer);
    win.bind("STRVYB", m_phrase);
    win.bind("TTT", m_showOnlyManufacturers);
    win.bind("TTT1", m_showOnlyTypes);
    win.bind("VSP", m_markedManufacturers);
    win.bind("KV", m_markedTypes);
    m_bindings.bind("ttt", m_showOnlyManufacturers);
    m_bindings.bind("ttt1", m_showOnlyTypes);
    m_bindings.bind("ic", m_iconValue);
    m_bindings.bind("ic2", m_iconValue);

    m_types.control = dynamic_cast<ListControl*>(win.control(win.number("?LIST")));
    m_manufacturers.control = dynamic_cast<ListControl*>(win.control(win.number("?LIST:2")));
    if (!m_types.control || !m_manufacturers.control)
        return Level::Fatal;
    setUpList(m_types, SPRPR(), offsetof(SprprRecord, M), SP_ponaim, "SP:NAIM", "?SP:NAIM",
              "(ttt1=0 or (ttt1=1 and sp:m=1))", &m_showOnlyTypes, sizeof m_showOnlyTypes);
    setUpList(m_manufacturers, PROIZ(), offsetof(ProizRecord, M), P_ponaim, "P:NAIM",
              "?P:NAIM", "(ttt=0 or (ttt=1 and p:m=1))", &m_showOnlyManufacturers,
              sizeof m_showOnlyManufacturers);
    m_types.list->setCountListener([this](int32_t count) { m_markedTypes = count; });
    m_manufacturers.list->setCountListener(
        [this](int32_t count) { m_markedManufacturers = count; });

    win.open();
    QFont first = win.font();
    first.setPointSize(9);
    first.setWeight(QFont::Bold);
    for (Side* side : {&m_types, &m_manufacturers}) {
        side->control->setIconList({"U+2610", "U+2611"});
        side->control->setLineHeight(8);
        side->control->setStyleFont(1, first);
        side->list->load();
        side->watcher = std::make_unique<ListPressWatcher>(*side->control);
    }
    applyApplicabilityVisibility();
    applyManufacturerVisibility();
    win.display();
    return Level::Benign;
}

void Vybproc::setUpList(Side& side, platform::storage::RecordFile& file, std::size_t markOffset,
                        int key, const char* nameField, const char* locatorShown,
                        const char* filter, const void* showOnly, std::size_t showOnlySize)
{
    side.list = std::make_unique<MarkList>(file, markOffset);
    MarkList& list = *side.list;
    list.setErrorReporter(&GlobalErrors());
    list.setBindings(&m_bindings);
    list.setWholeFile(true);
    const int nameIndex = file.layout().fieldIndex(nameField);
    list.addField(-1); // the icon column shows no field
    list.addField(nameIndex);
    SortOrder& order = list.addSortOrder(key, filter);
    order.addResetField(side.refresh);
    order.addResetField(showOnly, showOnlySize);
    auto locator = std::make_unique<TypeAheadLocator>(nameIndex);
    Window* shown = &window();
    const int display = window().number(locatorShown);
    locator->setShown([shown, display](const std::string& typed) {
        if (Control* control = shown->control(display))
            control->setText(typed);
    });
    order.setLocator(std::move(locator));
    side.control->attach(&list);
}

int Vybproc::kill()
{
    const int level = WindowController::kill();
    if (m_proizOpened)
        RelatePROIZ->close();
    if (m_sprprOpened)
        RelateSPRPR->close();
    m_proizOpened = m_sprprOpened = false;
    GlobalErrors().popProcedure(Procedure);
    releaseLists();
    return level;
}

int Vybproc::takeEvent()
{
    const int level = WindowController::takeEvent();
    // Toggles, clears and the show-only boxes change a reset value: the list reads itself again.
    for (Side* side : {&m_types, &m_manufacturers})
        if (side->list && window().isOpen())
            side->list->reset(false);
    return level;
}

void Vybproc::applyApplicabilityVisibility()
{
    Window& win = window();
    const int entry = win.number("?STRVYB");
    const int group = win.number("?GROUP3");
    if (m_applicability == 1)
        win.unhide(entry);
    else
        win.hide(entry);
    if (m_applicability == 2)
        win.unhide(group);
    else
        win.hide(group);
}

void Vybproc::applyManufacturerVisibility()
{
    const int group = window().number("?GROUP2");
    if (m_manufacturer == 1)
        window().unhide(group);
    else
        window().hide(group);
}

int Vybproc::takeNewSelection()
{
    Side* side = nullptr;
    if (m_manufacturers.control && field() == m_manufacturers.control->number())
        side = &m_manufacturers;
    else if (m_types.control && field() == m_types.control->number())
        side = &m_types;
    if (side) {
        if (side->watcher && side->watcher->pressing())
            return WindowController::takeNewSelection(); // the press's own event follows
        if (side->skipNextSelection) {
            side->skipNextSelection = 0;
        } else if (keyCode() == Key::MouseLeft &&
                   side->control->mouseZone() == ListControl::ZoneIcon) {
            window().setKeyCode(0);
            toggleHighlighted(*side);
        }
    }
    return WindowController::takeNewSelection();
}

void Vybproc::toggleHighlighted(Side& side)
{
    MarkList& list = *side.list;
    if (list.fetchHighlighted() != 0)
        return;
    platform::storage::RecordFile& file = list.file();
    uint8_t& mark = &file == &PROIZ() ? P().M : SP().M;
    mark = mark == 0 ? 1 : 0;
    file.put(); // a failed write is reported by the file-error reporter
    flip(side.refresh);
}

void Vybproc::clearMarks(Side& side)
{
    setProgramCursor("wait");
    side.skipNextSelection = 1;
    platform::storage::RecordFile& file = side.list->file();
    const bool manufacturers = &file == &PROIZ();
    file.stream();
    file.setFileOrder();
    while (file.next() == 0) {
        uint8_t& mark = manufacturers ? P().M : SP().M;
        if (mark == 1) {
            mark = 0;
            file.put();
        }
    }
    file.flush();
    flip(side.refresh);
    setProgramCursor("");
}

bool Vybproc::apply()
{
    Window& win = window();
    if (m_manufacturer == 1 && m_markedManufacturers == 0) {
        message(w("Выбран отбор по производителю из списка, но не один производитель не помечен!"),
                w("Ошибка"));
        win.select(m_manufacturers.control->number());
        return false;
    }
    if (m_applicability == 2 && m_markedTypes == 0) {
        message(w("Выбран отбор по применяемости из списка, но не один тип применяемости не "
                  "помечен!"),
                w("Ошибка"));
        win.select(m_types.control->number());
        return false;
    }
    if (m_applicability == 1 && m_phrase.isBlank()) {
        message(w("Выбран отбор применяемости по фразе, но фраза не введена!"), w("Ошибка"));
        win.select(win.number("?STRVYB"));
        return false;
    }
    std::string result;
    result += digit(m_applicability);
    result += digit(m_manufacturer);
    result += m_phrase.view();
    result += digit(m_showOnlyTypes);
    result += digit(m_showOnlyManufacturers);
    result.resize(ResultLength, ' ');
    m_result = std::move(result);
    win.post(Event::CloseWindow);
    return true;
}

int Vybproc::takeAccepted()
{
    Window& win = window();
    const int control = accepted();
    win.update(control);
    if (control == win.number("?KOD1")) {
        applyApplicabilityVisibility();
        if (m_applicability == 2) {
            win.select(m_types.control->number());
            flip(m_types.refresh);
        }
    } else if (control == win.number("?TTT")) {
        m_manufacturers.skipNextSelection = 1;
    } else if (control == win.number("?BUTTON4")) {
        clearMarks(m_manufacturers);
    } else if (control == win.number("?TTT1")) {
        m_types.skipNextSelection = 1;
    } else if (control == win.number("?BUTTON4:2")) {
        clearMarks(m_types);
    } else if (control == win.number("?BUTTON1")) {
        if (!apply())
            return Level::Notify;
    } else if (control == win.number("?BUTTON2")) {
        m_result.assign(ResultLength, ' ');
        win.post(Event::CloseWindow);
    }

    const int level = WindowController::takeAccepted();

    if (control == win.number("?KOD2")) {
        applyManufacturerVisibility();
        if (m_manufacturer == 1) {
            flip(m_manufacturers.refresh);
            win.select(m_manufacturers.control->number());
        }
    } else if (control == win.number("?TTT") || control == win.number("?BUTTON4")) {
        if (control == win.number("?BUTTON4"))
            update();
        win.select(m_manufacturers.control->number());
    } else if (control == win.number("?TTT1") || control == win.number("?BUTTON4:2")) {
        if (control == win.number("?BUTTON4:2"))
            update();
        win.select(m_types.control->number());
    }
    return level;
}

std::string vybproc(std::string_view phrase, uint8_t applicabilityMode, uint8_t manufacturerMode,
                    uint8_t showOnlyMarkedTypes, uint8_t showOnlyMarkedManufacturers)
{
    Vybproc dialog(phrase, applicabilityMode, manufacturerMode, showOnlyMarkedTypes,
                   showOnlyMarkedManufacturers);
    dialog.run();
    return dialog.result();
}

} // namespace app
