#include "platform/ui/list/TypeAheadLocator.h"

namespace platform::ui {

bool TypeAheadLocator::takeCharacter(char typed)
{
    m_text += typed;
    show();
    return true;
}

bool TypeAheadLocator::takeBackspace()
{
    if (m_text.empty())
        return false;
    m_text.pop_back();
    show();
    return true;
}

void TypeAheadLocator::reset()
{
    if (m_text.empty())
        return;
    m_text.clear();
    show();
}

void TypeAheadLocator::show() const
{
    if (m_shown)
        m_shown(m_text);
}

} // namespace platform::ui
