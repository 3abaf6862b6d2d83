#include "app/procvyg/Procvyg.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/OrderTextWrite.h"
#include "app/orderworkbook/ExportOrderToExcel.h"
#include "office/ExcelAutomation.h"
#include "office/OutlookAutomation.h"
#include "platform/automation/OleContainer.h"
#include "platform/automation/OleControl.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/DropList.h"

namespace app {

using namespace platform::ui;
using platform::text::w;

namespace {

// Controls, in declaration order.
constexpr int kFormat = 1;
constexpr int kTextFormat = 2;
constexpr int kExcelFormat = 3;
constexpr int kChooseFile = 5;
constexpr int kFileName = 6;
constexpr int kManagerPrompt = 10;
constexpr int kManagerList = 11;
constexpr int kOutlookControl = 13;
constexpr int kExcelControl = 14;
constexpr int kMailChoice = 15;
constexpr int kExecute = 16;
constexpr int kCancel = 17;

constexpr long long kBlue = 0xFF0000; // 0x00BBGGRR
constexpr long long kRed = 0x0000FF;

const char* const kPrompt = "<- Задайте имя файла для сохранения заказа";

std::string_view withoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

Procvyg::Procvyg(int32_t basketSortTab, double totalWeight)
    : WindowController("quelbarto$quelb014", "P1$WINDOW"), m_basketSortTab(basketSortTab),
      m_totalWeight(totalWeight), m_excel(std::make_unique<office::ExcelAutomation>()),
      m_outlook(std::make_unique<office::OutlookAutomation>())
{
    m_fileName = w(kPrompt);
    window().bind("TYPEKOD", m_typeKod);
    window().bind("FNAME1", m_fileName);
    window().bind("KOMMENT", m_comment);
    window().bind("FLGMAIL", m_mail);
    // Choosing a manager copies the manager's address into ManagerEmail.
    window().bindControl(kManagerList, m_managerEmail);
}

Procvyg::~Procvyg() = default;

std::string Procvyg::withExtension(std::string_view name, bool workbook)
{
    const std::string_view extension = workbook ? ".xls" : ".txt";
    std::string result(withoutTrailingBlanks(name));
    if (result.size() < 4 || result.compare(result.size() - 4, 4, extension) != 0)
        result += extension;
    return result;
}

std::string Procvyg::withReplacedExtension(std::string_view name, bool workbook)
{
    std::string result(withoutTrailingBlanks(name));
    result.resize(result.size() < 4 ? 0 : result.size() - 4);
    return result + (workbook ? ".xls" : ".txt");
}

int Procvyg::init()
{
    GlobalErrors().pushProcedure("procvyg");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(kTextFormat);
    m_filesOpened = true;
    RelateKORZAK->open();
    RelateREKV->open();
    RelateSPRMAN->open();
    window().open();
    showManagerChoice();
    if (auto* list = dynamic_cast<DropList*>(window().control(kManagerList))) {
        m_managers = std::make_unique<platform::storage::View>(SPRMAN(), SPR_poname);
        list->setColumns({{w("Менеджер"), 219}, {"E-mail", 120}});
        list->fill(*m_managers, {0, 1}, 1); // shows SPR:NAME and SPR:KMAIL, copies SPR:KMAIL
    }
    return Level::Benign;
}

int Procvyg::kill()
{
    const int level = WindowController::kill();
    m_managers.reset();
    if (m_filesOpened) {
        RelateKORZAK->close();
        RelateREKV->close();
        RelateSPRMAN->close();
    }
    m_filesOpened = false;
    GlobalErrors().popProcedure("procvyg");
    return level;
}

void Procvyg::showManagerChoice()
{
    if (m_mail == 1) {
        window().unhide(kManagerList);
        window().unhide(kManagerPrompt);
    } else {
        window().hide(kManagerList);
        window().hide(kManagerPrompt);
    }
}

void Procvyg::chooseFileName()
{
    window().update(1);
    const bool workbook = m_typeKod == 1;
    const std::string mask = workbook ? w("Excel формат|*.xls") : w("Текстовый формат|*.txt");
    const bool chosen =
        fileDialog(w("Задайте имя файла для сохранения"), m_dialogFileName, mask,
                   FileOption::Save | FileOption::KeepDirectory | FileOption::Explorer);
    const std::string name = chosen ? withExtension(m_dialogFileName.view(), workbook) : "";
    if (chosen && name.size() > m_fileName.size()) {
        // A longer name would be cut and the order written somewhere else.
        message(w("Слишком длинное имя файла для сохранения заказа (больше 150 символов)."),
                w("Ошибка"), MessageIcon::Hand);
    }
    if (chosen && name.size() <= m_fileName.size()) {
        m_fileName = name;
        window().setProperty(kFileName, Property::FontColour, kBlue);
        m_fileNameChosen = 1;
    } else {
        m_fileName = w(kPrompt);
        window().setProperty(kFileName, Property::FontColour, kRed);
        m_fileNameChosen = 0;
    }
    window().display(kFileName);
}

int Procvyg::execute()
{
    window().update();
    if (m_fileNameChosen == 0) {
        message(w("Не задано имя файла для сохранения!"), w("Ошибка"));
        window().select(kChooseFile);
        return Level::Benign;
    }
    if (m_managerEmail.isBlank() && m_mail == 1) {
        message(w("Для отправки заказа по эл.почте не указан менеджер, либо у менеджера не "
                  "указан адрес эл.почты!"),
                w("Ошибка"));
        window().select(kChooseFile);
        return Level::Benign;
    }
    // Excel runs hidden on ?SMEXCEL, the mail server on ?SMOUTLOOK; each is created only when
    // not running yet. The mail choice is kept for the timer step.
    if (m_typeKod == 1)
        m_excel->Init(&window(), kExcelControl, 1, 0, 0);
    if (m_mail == 1)
        m_outlook->Init(&window(), kOutlookControl, 1, 0, 0);
    m_saveState = 1;
    return Level::Benign;
}

int Procvyg::takeAccepted()
{
    const int control = accepted();
    if (control == kFormat)
        fixFileExtension(m_typeKod == 1); // a radio was chosen: the name follows the format
    else if (control == kChooseFile)
        chooseFileName();
    else if (control == kExecute)
        return execute();
    else if (control == kCancel)
        window().post(Event::CloseWindow);
    const int level = WindowController::takeAccepted();
    if (control == kMailChoice) {
        window().update(kMailChoice);
        showManagerChoice();
        reset(false);
    }
    return level;
}

void Procvyg::fixFileExtension(bool workbook)
{
    if (m_fileNameChosen != 1)
        return;
    m_fileName = withReplacedExtension(m_fileName.view(), workbook);
    window().display(kFileName);
}

int Procvyg::takeSelected()
{
    if (selected() == kTextFormat || selected() == kExcelFormat)
        fixFileExtension(selected() == kExcelFormat);
    return WindowController::takeSelected();
}

void Procvyg::saveOrder()
{
    setProgramCursor("wait");
    // The first requisites record; none: the requisites are written blank.
    if (REKV().setFileOrder() != 0 || REKV().next() != 0)
        REKV().clearBuffer();
    bool saved = false;
    if (m_typeKod == 0) {
        saved = OrderTextWrite(m_fileName.view(), m_comment.view(), m_basketSortTab);
    } else {
        saved = ExportOrderToExcel(*m_excel, m_fileName.view(), m_comment.view(), m_basketSortTab,
                                   m_totalWeight);
    }
    setProgramCursor("");
    if (!saved) {
        // The user keeps the window, the name and the comment and may try another name.
        m_saveState = 0;
        return;
    }
    m_saveState = 3;
    if (m_mail == 1) {
        const std::string reason = mailOrder();
        if (!reason.empty()) {
            // The order is saved but did not go: the user is told why and keeps the window,
            // its choices and the file, and may send again once the cause is mended.
            message(w("Заказ сохранён в файл ") +
                        std::string(withoutTrailingBlanks(m_fileName.view())) +
                        w(", но не отправлен: ") + reason,
                    w("Ошибка"), MessageIcon::Exclamation);
            m_saveState = 0;
            return;
        }
        message(w("Заказ отправлен: ") + managerName() + ", " +
                    std::string(withoutTrailingBlanks(m_managerEmail.view())),
                w("Сообщение"));
    }
    window().post(Event::Accepted, kCancel);
}

std::string Procvyg::mailOrder()
{
    setProgramCursor("wait");
    office::OutlookAutomation& outlook = *m_outlook;
    outlook.CreateItem("Mail");
    const bool created = outlook.object().find_first_not_of(' ') != std::string::npos;
    outlook.SetTo(withoutTrailingBlanks(m_managerEmail.view()));
    outlook.SetSubject(w("Заказ от ") + std::string(withoutTrailingBlanks(REK().NAIM.view())));
    outlook.SetBody(w("Заказ в аттачменте"));
    outlook.AddAttachment(withoutTrailingBlanks(m_fileName.view()));
    // The class reports nothing; the channel keeps why a call failed. A mail whose order could
    // not be attached is not sent: the manager would get an empty mail.
    auto* channel = platform::automation::OleControl::containerOf(&window(), kOutlookControl);
    std::string reason = !created ? w("почтовый сервер не создал письмо")
                         : channel ? channel->lastError()
                                   : std::string();
    if (reason.empty()) {
        outlook.Send();
        reason = channel ? channel->lastError() : std::string();
    }
    // Nothing would ever send a mail left in the outbox: one that did not go is not kept there.
    // The order file is, and the user may send it again from this window.
    if (created && !reason.empty())
        outlook.DeleteItem("");
    else
        outlook.CloseItem();
    setProgramCursor("");
    return reason;
}

std::string Procvyg::managerName()
{
    auto* list = dynamic_cast<DropList*>(window().control(kManagerList));
    return list ? std::string(withoutTrailingBlanks(list->currentCell(0))) : std::string();
}

int Procvyg::takeWindowEvent()
{
    if (event() == Event::Timer) {
        if (m_saveState == 0)
            return Level::Benign;
        if (m_saveState == 1)
            saveOrder();
    }
    return WindowController::takeWindowEvent();
}

void procvyg(int32_t basketSortTab, double totalWeight)
{
    platform::automation::OleControl::registerKind();
    Procvyg procedure(basketSortTab, totalWeight);
    procedure.run();
}

} // namespace app
