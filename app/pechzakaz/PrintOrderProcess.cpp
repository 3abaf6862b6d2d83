#include "app/pechzakaz/PrintOrderProcess.h"

#include "app/dictionary/Dictionary.h"
#include "platform/ui/Event.h"
#include "platform/ui/report/ReportRunner.h"

namespace app {

PrintOrderProcess::PrintOrderProcess(platform::storage::View& view,
                                     platform::ui::ReportRunner& runner, int32_t lowestCode,
                                     int32_t highestCode)
    : BatchProcess(view), m_runner(runner), m_lowestCode(lowestCode), m_highestCode(highestCode)
{
}

int PrintOrderProcess::takeRecord()
{
    // A printer that failed has told the user; the rest of the walk would print nothing.
    if (!m_runner.printDetail()) {
        setResponse(platform::ui::Response::Cancelled);
        return platform::ui::Level::Notify;
    }
    return platform::ui::Level::Benign;
}

int PrintOrderProcess::percentDone() const
{
    if (m_highestCode <= m_lowestCode)
        return 0;
    const double done = (static_cast<double>(K().KOD) - m_lowestCode) * 100.0 /
                        (static_cast<double>(m_highestCode) - m_lowestCode);
    return done < 0 ? 0 : done > 100 ? 100 : static_cast<int>(done);
}

} // namespace app
