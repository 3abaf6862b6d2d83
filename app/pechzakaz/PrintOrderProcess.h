#pragma once

#include "platform/ui/BatchProcess.h"

#include <cstdint>

namespace platform::ui {
class ReportRunner;
}

// The walk of the printed order: every basket line, in code order, prints the report's detail
// band; how far it got is measured by the line's code between the lowest and highest code.
namespace app {

class PrintOrderProcess : public platform::ui::BatchProcess
{
public:
    PrintOrderProcess(platform::storage::View& view, platform::ui::ReportRunner& runner,
                      int32_t lowestCode, int32_t highestCode);

protected:
    int takeRecord() override;
    int percentDone() const override;

private:
    platform::ui::ReportRunner& m_runner;
    int32_t m_lowestCode;
    int32_t m_highestCode;
};

} // namespace app
