#include "app/browsepriosn/PriceWindowDamage.h"

#include "app/browsepriosn/BasketRecovery.h"
#include "app/dictionary/DamagedFiles.h"
#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"

namespace app {

PriceWindowDamage::Outcome PriceWindowDamage::handle()
{
    // The boxes below run events of their own.
    if (m_handling || RecordFileManager::readOnly())
        return {};
    m_handling = true;
    Outcome outcome;
    if (!m_basketTried && fileIsDamaged(KORZAK())) {
        // A recovery that failed (the file held elsewhere) is not tried again in this window.
        m_basketTried = !recoverBasket();
        outcome.basketRecovered = true;
    }
    // A "Нет" given in a dialog of this window (the load) answers the window's question too.
    if (!m_priceAsked && !newFileDeclined(PRIOSN()) && fileIsDamaged(PRIOSN())) {
        m_priceAsked = true;
        if (offerNewFile(*RelatePRIOSN, newFileQuestion(PRIOSN(), true),
                         platform::text::w("Ошибка"))) {
            m_priceAsked = false;
            outcome.priceListMadeAnew = true;
        }
    }
    m_handling = false;
    return outcome;
}

} // namespace app
