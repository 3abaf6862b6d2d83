#include "app/proczak/Proczak.h"

#include "app/proczak/OrderParams.h"

namespace app {

Proczak::Proczak(std::string params)
    : QuantityDialog("quelbarto$quelb005", "proczak", std::move(params))
{
    m_quantity = 1;
}

void Proczak::readParams(std::string_view params)
{
    m_code = wholeNumber(paramsField(params, 1, 8));
    m_designation = paramsField(params, 9, 58);
    m_name = paramsField(params, 59, 108);
    m_packQuantity = wholeNumber(paramsField(params, 109, 113));
}

int32_t proczak(std::string_view itemOrderParams)
{
    Proczak dialog{std::string(itemOrderParams)};
    dialog.run();
    return dialog.result();
}

} // namespace app
