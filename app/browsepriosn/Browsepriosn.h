#pragma once

#include "app/browsepriosn/BasketOperations.h"
#include "app/browsepriosn/PriceWindowDamage.h"
#include "app/browsepriosn/PriceWindowVariables.h"
#include "app/dictionary/DeferredDamageCheck.h"
#include "app/dictionary/Records.h"
#include "platform/storage/Bindings.h"
#include "platform/ui/WindowController.h"

#include <cstdint>
#include <memory>

namespace platform::ui {
class ListControl;
class WindowResizer;
} // namespace platform::ui

// "Прайс-лист/Заказ": the price list to search in the upper half, the order basket in the
// lower half, one running copy at a time.
namespace app {

class BasketList;
class PriceList;

// The thread of the running copy; 0 when none runs.
extern int32_t BrowsepriosnThread;

class Browsepriosn : public platform::ui::WindowController
{
public:
    Browsepriosn();
    ~Browsepriosn() override;

    int init() override;
    int kill() override;
    int takeEvent() override;
    int takeAccepted() override;
    int takeFieldEvent() override;
    int takeNewSelection() override;
    int takeSelected() override;
    int takeWindowEvent() override;
    void reset(bool force) override;

    PriceWindowVariables& variables() { return m_variables; }
    PriceList& priceList() { return *m_priceList; }
    BasketList& basketList() { return *m_basketList; }

private:
    void openFiles();
    void setUpPriceList();
    void setUpBasketList();
    void restoreGeometry();
    void restoreFormats();
    void saveSizes();
    int beforeFramework();
    void afterFramework();
    int takeHotKey();
    void updateSelectionButton();
    void setAnaloguesMode(bool on);
    void orderHighlighted();
    void changeHighlightedQuantity();
    // Refreshes the basket after a change, or says why nothing changed.
    void showBasketResult(BasketResult result);
    // A write the basket file refused: the reason, then the basket as stored.
    void showBasketWriteFailure();
    void deleteHighlighted();
    void newOrder();
    void checkBasketPrices();
    bool openOrder();
    void loadPriceList();
    void applySelection();
    void showRefusal(const char* utf8);
    void followSize();
    // A damaged basket recovered, or the price list made anew and then loaded.
    void takeDamage();

    PriceWindowVariables m_variables;
    PriceWindowDamage m_damage;
    DeferredDamageCheck m_damageCheck{[this] { takeDamage(); }};
    platform::storage::Bindings m_bindings;
    std::unique_ptr<PriceList> m_priceList;
    std::unique_ptr<BasketList> m_basketList;
    std::unique_ptr<platform::ui::WindowResizer> m_resizer;
    platform::ui::ListControl* m_priceControl = nullptr;
    platform::ui::ListControl* m_basketControl = nullptr;
    PriosnRecord m_orderedItem{};
    int32_t m_changedLine = 0;
    bool m_filesOpened = false;
    bool m_registered = false;
};

// The window as the frame starts it on a thread of its own.
std::unique_ptr<platform::ui::WindowController> browsepriosn();

} // namespace app
