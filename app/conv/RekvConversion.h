#pragma once

#include "platform/ui/BatchProcess.h"

#include <string>

// The batch that copies the old requisites (REKV_S, in file order) into REKV_N.
namespace app {

class RekvConversion : public platform::ui::BatchProcess
{
public:
    explicit RekvConversion(platform::storage::View& view);

    // Why the walk stopped short (Windows-1251), empty when it did not.
    const std::string& failure() const { return m_failure; }

protected:
    int takeRecord() override;

private:
    std::string m_failure;
};

// One REKV_S record in its buffer into REKV_N; the level to go on with (0), or Level::Fatal
// when the write failed (the error state says why).
int ConvertRekvRecord();

} // namespace app
