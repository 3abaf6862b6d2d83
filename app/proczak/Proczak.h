#pragma once

#include "app/proczak/QuantityDialog.h"

#include <cstdint>
#include <string_view>

// "Заказ товара": the quantity of a price-list item to order, starting at 1.
namespace app {

class Proczak : public QuantityDialog
{
public:
    explicit Proczak(std::string params);

protected:
    void readParams(std::string_view params) override;
};

// Runs the dialog on the caller's thread; the quantity entered, or 0 when cancelled.
int32_t proczak(std::string_view itemOrderParams);

} // namespace app
