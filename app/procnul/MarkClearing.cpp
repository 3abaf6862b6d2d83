#include "app/procnul/MarkClearing.h"

namespace app {

MarkClearing::MarkClearing(platform::storage::View& view, RecordHandler handler)
    : BatchProcess(view), m_handler(std::move(handler))
{
}

} // namespace app
