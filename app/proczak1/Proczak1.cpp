#include "app/proczak1/Proczak1.h"

#include "app/proczak/OrderParams.h"

namespace app {

Proczak1::Proczak1(std::string params)
    : QuantityDialog("quelbarto$quelb006", "proczak1", std::move(params))
{
}

void Proczak1::readParams(std::string_view params)
{
    m_code = wholeNumber(paramsField(params, 1, 8));
    m_designation = paramsField(params, 9, 58);
    m_name = paramsField(params, 59, 108);
    m_quantity = wholeNumber(paramsField(params, 109, 116));
    m_packQuantity = wholeNumber(paramsField(params, 117, 121));
}

int32_t proczak1(std::string_view basketLineParams)
{
    Proczak1 dialog{std::string(basketLineParams)};
    dialog.run();
    return dialog.result();
}

} // namespace app
