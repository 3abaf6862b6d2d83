#include "platform/ui/keyboard/SimulatedLayoutSource.h"

#include "platform/ui/keyboard/LayoutRequest.h"

#include <algorithm>

namespace platform::ui::keyboard {

SimulatedLayoutSource::SimulatedLayoutSource(int groups) : m_groups(std::max(1, groups))
{
}

bool SimulatedLayoutSource::requestGroup(int group)
{
    if (group < 0 || group >= m_groups || group == m_group)
        return false;
    if (!offerLayoutChange())
        return false;
    m_group = group;
    return true;
}

bool SimulatedLayoutSource::requestNextGroup()
{
    return requestGroup((m_group + 1) % m_groups);
}

} // namespace platform::ui::keyboard
