#include "platform/ui/report/ReportValue.h"

#include "platform/text/RealText.h"

namespace platform::ui {

double ReportValue::asNumber() const
{
    if (kind == Kind::Number)
        return number;
    if (kind == Kind::None)
        return 0;
    return text::textToReal(text);
}

} // namespace platform::ui
