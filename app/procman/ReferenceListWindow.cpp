#include "app/procman/ReferenceListWindow.h"

#include "app/dictionary/DamagedFiles.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/RecordFileManager.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/StepLocator.h"
#include "platform/ui/list/TypeAheadLocator.h"

#include <QWidget>

namespace app {

using namespace platform::ui;

ReferenceListWindow::ReferenceListWindow(ReferenceListSetup setup)
    : WindowController("quelbarto$" + setup.module, setup.label), m_setup(std::move(setup))
{
}

ReferenceListWindow::~ReferenceListWindow()
{
    // The editor and the list go before the window that shows them.
    if (m_control)
        m_control->attach(nullptr);
    m_editor.reset();
    m_list.reset();
}

int ReferenceListWindow::init()
{
    GlobalErrors().pushProcedure(m_setup.procedure);
    WindowController::init();
    PendingRequest = 0;
    LastResponse = 0;
    setCloseButton(window().number("?CLOSE"));
    if (m_setup.relation() && m_setup.relation()->open() == 0)
        m_fileOpened = true;
    if (!admit())
        return Level::Notify;

    m_control = dynamic_cast<ListControl*>(window().control("?BROWSE:1"));
    if (!m_control)
        return Level::Fatal;
    m_list = std::make_unique<BrowseList>(m_setup.file());
    m_list->setErrorReporter(&GlobalErrors());
    m_list->setWholeFile(true);
    for (int field : m_setup.fields)
        m_list->addField(field);
    SortOrder& order = m_list->addSortOrder(m_setup.key);
    const int locatorField = m_setup.fields.front();
    if (m_setup.typeAhead) {
        auto locator = std::make_unique<TypeAheadLocator>(locatorField);
        Window* shown = &window();
        const int display = window().number("?SP:NAIM");
        locator->setShown([shown, display](const std::string& typed) {
            if (Control* control = shown->control(display))
                control->setText(typed);
        });
        order.setLocator(std::move(locator));
    } else {
        order.setLocator(std::make_unique<StepLocator>(locatorField));
    }
    m_control->attach(m_list.get());
    m_editor = std::make_unique<InPlaceEditor>(*m_control, *m_list);
    m_editor->setControls(window().number("?INSERT:2"), window().number("?CHANGE:2"),
                          window().number("?DELETE:2"));
    m_editor->setArrowAction(InPlaceEditor::ArrowsMoveEdit);
    m_list->load();

    window().select(window().number("?BROWSE:1"));
    window().open();
    m_control->setLineHeight(m_setup.lineHeight);
    QFont first = window().font();
    first.setPointSize(m_setup.fontPoints);
    first.setWeight(QFont::Bold);
    m_control->setStyleFont(1, first);
    m_resizer = std::make_unique<WindowResizer>();
    m_resizer->init(window(), WindowResizer::Anchor, true);
    return Level::Benign;
}

int ReferenceListWindow::takeEvent()
{
    const int level = WindowController::takeEvent();
    m_damageCheck.request(window());
    return level;
}

void ReferenceListWindow::offerNewFileWhenDamaged()
{
    if (m_newFileAsked || m_offering || !m_list || !m_setup.relation() ||
        platform::storage::RecordFileManager::readOnly())
        return;
    platform::storage::RecordFile& file = m_setup.file();
    if (!fileIsDamaged(file))
        return;
    m_offering = true;
    m_newFileAsked = true;
    if (offerNewFile(*m_setup.relation(), newFileQuestion(file), platform::text::w("Ошибка"),
                     true)) {
        m_newFileAsked = false;
        m_fileOpened = true;
        if (m_editor && m_editor->isEditing())
            m_editor->cancel(); // the row belonged to the damaged file
        m_list->load();
    }
    m_offering = false;
}

int ReferenceListWindow::kill()
{
    const int level = WindowController::kill();
    if (m_fileOpened && m_setup.relation())
        m_setup.relation()->close();
    m_fileOpened = false;
    GlobalErrors().popProcedure(m_setup.procedure);
    if (m_resizer)
        m_resizer->kill();
    m_resizer.reset();
    if (m_control)
        m_control->attach(nullptr);
    m_control = nullptr;
    m_editor.reset();
    m_list.reset();
    return level;
}

} // namespace app
