#pragma once

#include "platform/ui/BatchProcess.h"

#include <string>

// The batch that copies the old price list (PRIOSN_S, in file order) into PRIOSN_N and enters
// each manufacturer once in PROIZ.
namespace app {

class PriceConversion : public platform::ui::BatchProcess
{
public:
    explicit PriceConversion(platform::storage::View& view);

    // Why the walk stopped short (Windows-1251), empty when it did not.
    const std::string& failure() const { return m_failure; }

protected:
    int takeRecord() override;

private:
    std::string m_failure;
    bool m_blankMakerAdded = false;
};

// One PRIOSN_S record in its buffer into PRIOSN_N and PROIZ; the level to go on with (0), or
// Level::Fatal when a write failed (the error state says why).
int ConvertPriceRecord(bool& blankMakerAdded);

} // namespace app
