#pragma once

#include "app/proczak/QuantityDialog.h"

#include <cstdint>
#include <string_view>

// The quantity of a basket line to change, starting at the line's quantity.
namespace app {

class Proczak1 : public QuantityDialog
{
public:
    explicit Proczak1(std::string params);

protected:
    void readParams(std::string_view params) override;
};

// Runs the dialog on the caller's thread; the new quantity, or 0 when cancelled.
int32_t proczak1(std::string_view basketLineParams);

} // namespace app
