#include "app/browsepriosn/Browsepriosn.h"

#include "app/browsepriosn/BasketList.h"
#include "app/browsepriosn/BasketOperations.h"
#include "platform/storage/ErrorState.h"
#include "app/browsepriosn/BrowsepriosnSettings.h"
#include "app/browsepriosn/PriceList.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/browsepriosn/PriceWindowCalls.h"
#include "app/browsepriosn/PriceWindowFitter.h"
#include "app/browsepriosn/RowMarks.h"
#include "app/browsepriosn/SelectionState.h"
#include "app/dictionary/Dictionary.h"
#include "app/frame/FrameGlobals.h"
#include "app/proczak/OrderParams.h"
#include "app/proczak/Proczak.h"
#include "app/proczak1/Proczak1.h"
#include "app/proczap/Proczap.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Clock.h"
#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"
#include "platform/ui/list/StepLocator.h"
#include "platform/ui/list/WindowResizer.h"

#include <QFont>

namespace app {

using namespace platform::ui;
using platform::text::w;

int32_t BrowsepriosnThread = 0;

namespace {

// Controls by their place in the window definition.
namespace C {
constexpr int PriceList = 1;
constexpr int Fit = 2;
constexpr int Selection = 4;
constexpr int PriceMarker = 5;
constexpr int LoadDate = 6;
constexpr int Load = 7;
constexpr int PricePhoto = 8;
constexpr int Analogues = 9;
constexpr int Order = 10;
constexpr int BasketPhoto = 11;
constexpr int TotalsLabel = 13;
constexpr int TotalsLast = 18;
constexpr int Basket = 19;
constexpr int Delete = 20;
constexpr int ChangeQuantity = 21;
constexpr int Save = 22;
constexpr int Open = 23;
constexpr int Print = 24;
constexpr int CheckPrices = 25;
constexpr int NewOrder = 26;
constexpr int BasketMarker = 28;
constexpr int BasketSheet = 29;
constexpr int SearchSheet = 35;
constexpr int CodeEntry = 38;
constexpr int Close = 54;
} // namespace C

// The search controls that analogues mode disables: the code entry and prompt, the selection
// button, the other prompts and entries.
constexpr int SearchControls[] = {38, 37, 4, 40, 43, 46, 49, 52, 41, 44, 47, 50, 53};
constexpr int TextSearchEntries[] = {41, 44, 47, 50, 53};

constexpr int key(int virtualKey, int modifiers)
{
    return virtualKey | modifiers;
}

QFont listFont(const char* family, int points, bool bold)
{
    QFont font(QString::fromLatin1(family), points);
    font.setBold(bold);
    return font;
}

bool isTextSearchEntry(int control)
{
    for (int entry : TextSearchEntries)
        if (entry == control)
            return true;
    return false;
}

} // namespace

Browsepriosn::Browsepriosn()
    : WindowController("quelbarto$quelb002", "P1$QUICKWINDOW")
{
    Window& win = window();
    win.bind("STRZAGRUZ", m_variables.STRZAGRUZ);
    win.bind("TotalQuantity", m_variables.TotalQuantity);
    win.bind("TotalSum", m_variables.TotalSum);
    win.bind("TotalWeight", m_variables.TotalWeight);
    win.bind("ks", m_variables.ks);
    win.bind("kodstr2", m_variables.kodstr2);
    win.bind("kodstr3", m_variables.kodstr3);
    win.bind("kodstr4", m_variables.kodstr4);
    win.bind("kodstr5", m_variables.kodstr5);
    win.bind("kodstr6", m_variables.kodstr6);
}

Browsepriosn::~Browsepriosn()
{
    if (m_priceControl)
        m_priceControl->attach(nullptr);
    if (m_basketControl)
        m_basketControl->attach(nullptr);
}

int Browsepriosn::init()
{
    GlobalErrors().pushProcedure("Browsepriosn");
    m_registered = true;
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(C::PriceList);
    PendingRequest = 0;
    LastResponse = 0;
    setCloseButton(C::Close);
    openFiles();
    if (BrowsepriosnThread != 0) {
        post(Event::GainFocus, 0, BrowsepriosnThread);
        return Level::Fatal;
    }
    BrowsepriosnThread = currentThread();

    m_priceControl = dynamic_cast<ListControl*>(window().control(C::PriceList));
    m_basketControl = dynamic_cast<ListControl*>(window().control(C::Basket));
    m_priceList = std::make_unique<PriceList>(window(), m_variables);
    m_basketList = std::make_unique<BasketList>(window(), m_variables);
    window().open();
    // The tab sheets are declared after the lists they frame: keep the lists on top.
    for (int list : {C::PriceList, C::Basket})
        if (QWidget* widget = window().control(list)->widget())
            widget->raise();

    m_variables.STRZAGRUZ = loadDateText();
    updateSelectionButton();
    REKV().setFileOrder();
    if (REKV().next() == 0)
        m_variables.photoFolder = REK().FOTOKAT.str();
    setUpPriceList();
    setUpBasketList();
    m_resizer = std::make_unique<WindowResizer>();
    m_resizer->init(window(), WindowResizer::Default, true);
    // A window larger than the frame's client area fits itself in on the first timer tick;
    // its saved geometry is then not applied.
    if (fitNeeded(PriceWindowFitter::read(window()).window, MainClientWidth, MainClientHeight)) {
        m_variables.FitPending = 1;
        window().setProperty(0, Property::Timer, 1);
    } else {
        restoreGeometry();
    }
    restoreFormats();
    m_priceList->load();
    m_basketList->load();
    window().display();
    return Level::Benign;
}

void Browsepriosn::openFiles()
{
    RelateKORZAK->open();
    RelatePRIOSN->open();
    RelatePROIZ->open();
    RelateREKV->open();
    RelateSPRPR->open();
    m_filesOpened = true;
}

void Browsepriosn::setUpPriceList()
{
    PriceWindowVariables& v = m_variables;
    m_bindings.bind("ks", v.ks);
    m_bindings.bind("kodstr2", v.kodstr2);
    m_bindings.bind("kodstr3", v.kodstr3);
    m_bindings.bind("kodstr4", v.kodstr4);
    m_bindings.bind("kodstr5", v.kodstr5);
    m_bindings.bind("kodstr6", v.kodstr6);
    m_bindings.bind("fk", v.fk);
    m_bindings.bind("k1", v.k1);
    m_bindings.bind("k2", v.k2);
    m_bindings.bind("strcena", v.strcena);
    m_bindings.bind("fotoex", v.fotoex);
    m_bindings.bind("fotoex1", v.fotoex1);
    m_bindings.bind("ve", v.ve);
    m_bindings.bind("v", v.v);
    m_bindings.bind("pz", v.pz);
    m_priceList->setBindings(&m_bindings);
    m_priceList->setErrorReporter(&GlobalErrors());
    for (const PriceSortOrder& order : priceSortOrders()) {
        SortOrder& added = m_priceList->addSortOrder(order.key, std::string(order.filter));
        added.setContainsSearch(std::string(order.searched), std::string(order.sought),
                                std::string(order.searchCondition));
        added.addResetField(v.fk);
        if (order.variable == "ks")
            added.addResetField(v.ks);
        else if (order.variable == "kodstr2")
            added.addResetField(v.kodstr2);
        else if (order.variable == "kodstr3")
            added.addResetField(v.kodstr3);
        else if (order.variable == "kodstr4")
            added.addResetField(v.kodstr4);
        else if (order.variable == "kodstr5")
            added.addResetField(v.kodstr5);
        else
            added.addResetField(v.kodstr6);
        added.addResetField(v.pz);
        added.addResetField(v.PriceResetToggle);
    }
    if (m_priceControl) {
        m_priceControl->setLineHeight(9);
        m_priceControl->setStyleFont(1, listFont("MS Sans Serif", 9, true));
        m_priceControl->setStyleFont(2, listFont("Wingdings", 10, true));
        m_priceControl->setStyleFont(3, listFont("MS Sans Serif", 8, false));
        m_priceControl->setStyleFont(4, listFont("Wingdings", 12, true));
        m_priceControl->attach(m_priceList.get());
        m_priceList->model().setIcons(rowMarkIcons(PricePhotoColour));
        QObject::connect(m_priceControl->view(), &QAbstractItemView::doubleClicked,
                         m_priceControl->view(), [this](const QModelIndex&) {
                             window().raise(Event::AlertKey, C::PriceList, Key::MouseLeftDouble);
                         });
    }
}

void Browsepriosn::setUpBasketList()
{
    // Fields of KORZAK the step locators use.
    constexpr int CodeField = 0;
    constexpr int DesignationField = 1;
    constexpr int NameField = 2;
    constexpr int ManufacturerField = 6;
    const int locatorFields[] = {CodeField, DesignationField, NameField, ManufacturerField};
    m_basketList->setErrorReporter(&GlobalErrors());
    const auto& orders = basketSortOrders();
    for (std::size_t i = 0; i < orders.size(); ++i) {
        SortOrder& added = m_basketList->addSortOrder(orders[i].key);
        added.addResetField(m_variables.BasketResetToggle);
        if (i < 4)
            added.setLocator(std::make_unique<StepLocator>(locatorFields[i]));
    }
    if (m_basketControl) {
        m_basketControl->setLineHeight(9);
        m_basketControl->setStyleFont(1, listFont("MS Sans Serif", 9, true));
        m_basketControl->setStyleFont(2, listFont("MS Sans Serif", 9, false));
        m_basketControl->setStyleFont(4, listFont("Wingdings", 12, true));
        m_basketControl->attach(m_basketList.get());
        m_basketList->model().setIcons(rowMarkIcons(BasketPhotoColour));
        QObject::connect(m_basketControl->view(), &QAbstractItemView::doubleClicked,
                         m_basketControl->view(), [this](const QModelIndex&) {
                             window().raise(Event::AlertKey, C::Basket, Key::MouseLeftDouble);
                         });
    }
}

void Browsepriosn::restoreGeometry()
{
    if (const auto geometry = savedGeometry()) {
        window().setProperty(0, Property::X, geometry->x);
        window().setProperty(0, Property::Y, geometry->y);
        window().setProperty(0, Property::Width, geometry->width);
        window().setProperty(0, Property::Height, geometry->height);
        window().post(Event::Sized);
    }
}

void Browsepriosn::restoreFormats()
{
    if (const std::string format = savedPriceFormat(); !format.empty())
        window().setProperty(C::PriceList, Property::Format, format);
    if (const std::string format = savedBasketFormat(); !format.empty())
        window().setProperty(C::Basket, Property::Format, format);
}

void Browsepriosn::saveSizes()
{
    PriceWindowSizes sizes;
    sizes.geometry.x = window().propertyNumber(0, Property::X);
    sizes.geometry.y = window().propertyNumber(0, Property::Y);
    sizes.geometry.width = window().propertyNumber(0, Property::Width);
    sizes.geometry.height = window().propertyNumber(0, Property::Height);
    sizes.priceFormat = window().property(C::PriceList, Property::Format);
    sizes.basketFormat = window().property(C::Basket, Property::Format);
    savePriceWindowSizes(sizes);
}

int Browsepriosn::kill()
{
    const int level = WindowController::kill();
    if (m_priceControl)
        m_priceControl->attach(nullptr);
    if (m_basketControl)
        m_basketControl->attach(nullptr);
    if (m_resizer)
        m_resizer->kill();
    if (m_filesOpened) {
        RelateKORZAK->close();
        RelatePRIOSN->close();
        RelatePROIZ->close();
        RelateREKV->close();
        RelateSPRPR->close();
        m_filesOpened = false;
    }
    if (m_registered)
        GlobalErrors().popProcedure("Browsepriosn");
    m_registered = false;
    return level;
}

int Browsepriosn::takeEvent()
{
    const int level = WindowController::takeEvent();
    reset(false);
    m_damageCheck.request(window());
    return level;
}

void Browsepriosn::takeDamage()
{
    if (!m_filesOpened || !m_basketList)
        return; // the window has ended meanwhile
    const PriceWindowDamage::Outcome outcome = m_damage.handle();
    if (outcome.basketRecovered)
        flip(m_variables.BasketResetToggle);
    if (outcome.priceListMadeAnew) {
        // An empty price list has no load date; the load follows at once.
        clearLoadDay();
        m_variables.STRZAGRUZ = loadDateText();
        flip(m_variables.PriceResetToggle);
        window().post(Event::Accepted, C::Load);
    }
    if (!outcome.basketRecovered && !outcome.priceListMadeAnew)
        return;
    reset(false);
    // The check may run after the window's events (once a box was answered): the totals and
    // the date are shown here.
    window().display();
}

void Browsepriosn::reset(bool force)
{
    if (m_priceList && m_priceControl && m_priceControl->list())
        m_priceList->reset(force);
    if (m_basketList && m_basketControl && m_basketControl->list())
        m_basketList->reset(force);
}

int Browsepriosn::takeAccepted()
{
    if (beforeFramework() == Level::Notify)
        return Level::Notify;
    const int level = WindowController::takeAccepted();
    afterFramework();
    return level;
}

int Browsepriosn::beforeFramework()
{
    switch (accepted()) {
    case C::Fit:
        PriceWindowFitter(window(), m_resizer.get(), m_priceControl, m_basketControl)
            .fit(MainClientWidth, MainClientHeight);
        break;
    case C::Analogues:
        setAnaloguesMode(m_variables.fk == 0);
        break;
    case C::Order:
        m_orderedItem.KOD = 0;
        if (m_priceList->fetchHighlighted() == 0) {
            m_orderedItem = PR();
            m_variables.params = ItemOrderParams(PR());
        } else {
            m_variables.params.clear();
        }
        break;
    case C::Delete:
        if (!window().control(C::Delete)->isDisabled())
            deleteHighlighted();
        break;
    case C::ChangeQuantity:
        m_changedLine = 0;
        if (m_basketList->fetchHighlighted() == 0) {
            m_changedLine = K().KOD;
            m_variables.params = BasketLineParams(K());
        }
        break;
    case C::Open:
        if (!openOrder())
            return Level::Notify;
        break;
    case C::CheckPrices:
        checkBasketPrices();
        break;
    case C::NewOrder:
        newOrder();
        break;
    default:
        break;
    }
    return Level::Benign;
}

void Browsepriosn::afterFramework()
{
    const int control = accepted();
    switch (control) {
    case C::Selection:
    case C::Load:
    case C::PricePhoto:
    case C::Order:
    case C::BasketPhoto:
    case C::ChangeQuantity:
    case C::Save:
    case C::Print:
        break;
    default:
        return;
    }
    // A called window sees the screen's values and the lists follow what it changed.
    update();
    PriceWindowCalls& calls = priceWindowCalls();
    switch (control) {
    case C::Selection:
        applySelection();
        break;
    case C::Load:
        loadPriceList();
        break;
    case C::PricePhoto:
        if (m_priceList->fetchHighlighted() == 0 && calls.fotovyv)
            calls.fotovyv({PR().KOD, PR().OBOZ, PR().NAIM});
        break;
    case C::Order:
        orderHighlighted();
        break;
    case C::BasketPhoto:
        if (m_basketList->fetchHighlighted() == 0 && calls.fotovyv)
            calls.fotovyv({K().KOD, K().OBOZ, K().NAIM});
        break;
    case C::ChangeQuantity:
        changeHighlightedQuantity();
        break;
    case C::Save:
        if (calls.procvyg)
            calls.procvyg(window().currentTab(C::BasketSheet), m_variables.TotalWeight);
        break;
    case C::Print:
        if (calls.pechzakaz)
            calls.pechzakaz();
        break;
    default:
        break;
    }
    reset(false);
}

void Browsepriosn::showRefusal(const char* utf8)
{
    message(w(utf8), w("Ошибка"), MessageIcon::Exclamation, Button::Ok);
}

void Browsepriosn::orderHighlighted()
{
    if (m_variables.params.empty())
        return;
    const int32_t quantity = proczak(m_variables.params);
    if (quantity < 1)
        return;
    showBasketResult(orderItem(m_orderedItem, quantity));
}

void Browsepriosn::changeHighlightedQuantity()
{
    if (m_changedLine == 0)
        return;
    const int32_t quantity = proczak1(m_variables.params);
    if (quantity < 1)
        return;
    showBasketResult(changeQuantity(m_changedLine, quantity));
}

void Browsepriosn::showBasketResult(BasketResult result)
{
    switch (result) {
    case BasketResult::Done:
        m_basketList->resetToBuffer();
        flip(m_variables.BasketResetToggle);
        break;
    case BasketResult::QuantityTooLarge:
        showRefusal(quantityTooLargeMessage());
        break;
    case BasketResult::WriteFailed:
        showBasketWriteFailure();
        break;
    case BasketResult::Unchanged:
        break;
    }
}

void Browsepriosn::showBasketWriteFailure()
{
    const int code = platform::storage::errorCode();
    const std::string file = platform::storage::errorFile();
    setProgramCursor("");
    message(basketWriteFailedMessage(code, file), w("Ошибка"), MessageIcon::Hand, Button::Ok);
    // The list reads the basket again, as the file holds it.
    m_basketList->reset(true);
    flip(m_variables.BasketResetToggle);
}

void Browsepriosn::deleteHighlighted()
{
    if (m_basketList->fetchHighlighted() != 0)
        return;
    int32_t highlighted = 0;
    if (deleteLine(K().KOD, highlighted) == BasketResult::WriteFailed) {
        showBasketWriteFailure();
        return;
    }
    if (highlighted != 0)
        m_basketList->resetToBuffer();
    else
        m_basketList->reset(true);
    flip(m_variables.BasketResetToggle);
}

void Browsepriosn::newOrder()
{
    if (proczap(ConfirmQuestion::NewOrder) != Proczap::Yes)
        return;
    setProgramCursor("wait");
    if (emptyBasket() != 0) {
        showBasketWriteFailure();
        return;
    }
    flip(m_variables.BasketResetToggle);
    window().select(C::PriceList);
    setProgramCursor("");
}

void Browsepriosn::checkBasketPrices()
{
    if (proczap(ConfirmQuestion::PriceCheck) != Proczap::Yes)
        return;
    setProgramCursor("wait");
    if (checkPrices() == BasketResult::WriteFailed) {
        showBasketWriteFailure();
        return;
    }
    flip(m_variables.PriceResetToggle);
    flip(m_variables.BasketResetToggle);
    // The message stands over the checked prices, not over the ones it replaced.
    reset(false);
    window().display();
    setProgramCursor("");
    message(w("Соответствие цен в заказе и прайс-листе проверено."), w("Сообщение"),
            MessageIcon::None, Button::Ok);
}

bool Browsepriosn::openOrder()
{
    if (proczap(ConfirmQuestion::OpenOrder) != Proczap::Yes)
        return true;
    if (!fileDialog(w("Выберите файл заказа"), m_variables.orderFileName,
                    w("Текстовый формат|*.txt|Excel формат|*.xls"),
                    FileOption::KeepDirectory | FileOption::Explorer))
        return false;
    if (priceWindowCalls().procin)
        priceWindowCalls().procin(m_variables.orderFileName.str());
    flip(m_variables.BasketResetToggle);
    return true;
}

void Browsepriosn::setAnaloguesMode(bool on)
{
    if (on) {
        if (m_priceList->fetchHighlighted() != 0)
            return;
        m_variables.k1 = PR().KOD;
        m_variables.k2 = PR().KOD2;
        window().setProperty(C::Analogues, Property::Text, w("Вернуться к списку"));
        window().setProperty(C::Analogues, Property::FontColour, 0xFF00FF);
        for (int control : SearchControls)
            window().disable(control);
        m_variables.fk = 1;
    } else {
        window().setProperty(C::Analogues, Property::Text, w("Показать аналоги"));
        window().setProperty(C::Analogues, Property::FontColour, 0x8000FF);
        for (int control : SearchControls)
            window().enable(control);
        m_variables.fk = 0;
    }
}

void Browsepriosn::loadPriceList()
{
    PriceWindowCalls& calls = priceWindowCalls();
    // A load rewrites the price list, which leaves the search copies stale: their memory is
    // given back for the load, and the next search in a tab makes its copy again.
    for (int order = 0; order < m_priceList->sortOrders(); ++order)
        m_priceList->sortOrder(order).releaseSearchCopy();
    if (!calls.ipmprice || calls.ipmprice() != 0)
        return;
    const int32_t today = Clock::today();
    saveLoadDay(today);
    m_variables.STRZAGRUZ = loadDateText(today);
    Selection().applicabilityMode = 0;
    Selection().manufacturerMode = 0;
    updateSelectionButton();
    setAnaloguesMode(false);
    flip(m_variables.PriceResetToggle);
    // The basket's weights and its marks of items no longer listed come from the price list.
    flip(m_variables.BasketResetToggle);
}

void Browsepriosn::applySelection()
{
    PriceWindowCalls& calls = priceWindowCalls();
    const std::string result = calls.vybproc ? calls.vybproc() : std::string();
    m_variables.SelectionResultString = result;
    if (m_variables.SelectionResultString.isBlank())
        return;
    setProgramCursor("wait");
    applySelectionResult(m_variables.SelectionResultString.view(), Selection());
    if (Selection().applicabilityMode == 2)
        fillQ1FromMarks();
    if (Selection().manufacturerMode == 1)
        fillQ2FromMarks();
    updateSelectionButton();
    flip(m_variables.PriceResetToggle);
    setProgramCursor("");
}

void Browsepriosn::updateSelectionButton()
{
    const SelectionState& state = Selection();
    window().setProperty(C::Selection, Property::Text, w(selectionCaption(state)));
    window().setProperty(C::Selection, Property::FontColour, selectionColour(state));
    window().setProperty(C::Selection, Property::Cursor, "hand");
    window().setProperty(C::Selection, Property::Tooltip, selectionTooltip(state));
}

int Browsepriosn::takeFieldEvent()
{
    const int control = field();
    if (event() == Event::Drop && control == C::Basket) {
        window().post(Event::Accepted, C::Order);
    } else if (event() == Event::AlertKey) {
        const int pressed = keyCode();
        if (control == C::PriceList) {
            if (pressed == Key::MouseLeftDouble && PRIOSN().records() > 0)
                window().post(Event::Accepted, C::Order);
            else if (pressed == Key::Delete)
                window().post(Event::Accepted, C::Delete);
        } else if (control == C::Basket) {
            if (KORZAK().records() > 0) {
                if (pressed == Key::MouseLeftDouble)
                    window().post(Event::Accepted, C::ChangeQuantity);
                else if (pressed == Key::Delete)
                    window().post(Event::Accepted, C::Delete);
            }
        } else if (control == C::CodeEntry || isTextSearchEntry(control)) {
            window().update(control);
            window().select(control);
        }
    }
    return WindowController::takeFieldEvent();
}

int Browsepriosn::takeNewSelection()
{
    const int control = field();
    if (isTextSearchEntry(control))
        window().update(control);
    const int level = WindowController::takeNewSelection();
    if (control == C::CodeEntry)
        window().update(control);
    return level;
}

int Browsepriosn::takeSelected()
{
    if (field() == C::Basket) {
        window().unhide(C::BasketMarker);
        window().hide(C::PriceMarker);
    }
    const int level = WindowController::takeSelected();
    if (field() == C::PriceList) {
        window().unhide(C::PriceMarker);
        window().hide(C::BasketMarker);
    }
    return level;
}

int Browsepriosn::takeHotKey()
{
    const bool items = PRIOSN().records() > 0;
    const bool lines = KORZAK().records() > 0;
    switch (keyCode()) {
    case key(Key::Enter, Key::Alt):
        if (items)
            window().post(Event::Accepted, C::Order);
        break;
    case key('F', Key::Ctrl):
        if (window().focus() == C::PriceList && m_priceList->highlightedHasPhoto())
            window().post(Event::Accepted, C::PricePhoto);
        else if (window().focus() == C::Basket && m_basketList->highlightedHasPhoto())
            window().post(Event::Accepted, C::BasketPhoto);
        break;
    case key('Z', Key::Ctrl):
        window().post(Event::Accepted, C::Load);
        break;
    case key(Key::Enter, Key::Ctrl):
        if (lines)
            window().post(Event::Accepted, C::ChangeQuantity);
        break;
    case key('C', Key::Ctrl):
        if (lines)
            window().post(Event::Accepted, C::CheckPrices);
        break;
    case key('N', Key::Ctrl):
        if (lines)
            window().post(Event::Accepted, C::NewOrder);
        break;
    case key('S', Key::Ctrl):
        if (lines)
            window().post(Event::Accepted, C::Save);
        break;
    case key('P', Key::Ctrl):
        if (lines)
            window().post(Event::Accepted, C::Print);
        break;
    case key('O', Key::Ctrl):
        window().post(Event::Accepted, C::Open);
        break;
    default:
        break;
    }
    return Level::Benign;
}

int Browsepriosn::takeWindowEvent()
{
    switch (event()) {
    case Event::AlertKey:
        takeHotKey();
        break;
    case Event::CloseWindow:
        BrowsepriosnThread = 0;
        saveSizes();
        break;
    case Event::CloseDown:
        saveSizes();
        break;
    case Event::GainFocus:
        window().setProperty(0, Property::Active, 1);
        break;
    case Event::Timer:
        if (m_variables.FitPending == 1) {
            window().post(Event::Accepted, C::Fit);
            window().setProperty(0, Property::Timer, 0);
            window().setProperty(0, Property::Resizable, 1);
            m_variables.FitPending = 0;
        }
        break;
    default:
        break;
    }
    const int level = WindowController::takeWindowEvent();
    if (event() == Event::Sized)
        followSize();
    return level;
}

void Browsepriosn::followSize()
{
    // The totals row follows its first label, so labels and values stay adjacent.
    Window& win = window();
    const int rowY = win.propertyNumber(C::TotalsLabel, Property::Y);
    for (int control = C::TotalsLabel + 1; control <= C::TotalsLast; ++control) {
        const int before = control - 1;
        win.setProperty(control, Property::Y, rowY);
        win.setProperty(control, Property::X,
                        win.propertyNumber(before, Property::X) +
                            win.propertyNumber(before, Property::Width));
    }
    // The basket list stays inside its sort sheet.
    const int sheetY = win.propertyNumber(C::BasketSheet, Property::Y);
    const int sheetHeight = win.propertyNumber(C::BasketSheet, Property::Height);
    const int listY = sheetY + 18;
    win.setProperty(C::Basket, Property::Y, listY);
    win.setProperty(C::Basket, Property::Height, sheetY + sheetHeight - 4 - listY);
}

std::unique_ptr<WindowController> browsepriosn()
{
    return std::make_unique<Browsepriosn>();
}

} // namespace app
