#include "platform/ui/list/StepLocator.h"

namespace platform::ui {

bool StepLocator::takeCharacter(char typed)
{
    m_text.assign(1, typed);
    return true;
}

} // namespace platform::ui
