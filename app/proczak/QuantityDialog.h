#pragma once

#include "platform/text/FixedString.h"
#include "platform/ui/WindowController.h"

#include <cstdint>
#include <string>
#include <string_view>

// The window both quantity dialogs share: the item's code, designation, name and pack quantity
// shown, the quantity entered; "Заказать" returns it, "Отменить" or any other close returns 0.
namespace app {

class QuantityDialog : public platform::ui::WindowController
{
public:
    QuantityDialog(std::string_view module, std::string procedureName, std::string params);

    int init() override;
    int kill() override;
    int takeAccepted() override;
    int takeFieldEvent() override;

    int32_t result() const { return m_result; }

    // Control numbers of the shared layout.
    static constexpr int QuantityEntry = 10;
    static constexpr int OrderButton = 11;
    static constexpr int CancelButton = 12;

protected:
    // Cuts the parameter text into the bound variables.
    virtual void readParams(std::string_view params) = 0;

    int32_t m_code = 0;
    platform::text::FixedString<50> m_designation;
    platform::text::FixedString<50> m_name;
    int32_t m_packQuantity = 0;
    int32_t m_quantity = 0;

private:
    std::string m_procedureName;
    std::string m_params;
    int32_t m_result = 0;
};

} // namespace app
