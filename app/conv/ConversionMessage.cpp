#include "app/conv/ConversionMessage.h"

#include "platform/text/Cp1251.h"

namespace app {

using platform::text::w;

std::string ConversionMessage(const ConversionOutcome& price, const ConversionOutcome& requisites)
{
    std::string text = price.finished() && requisites.finished()
                           ? w("КОНВЕРТАЦИЯ ДАННЫХ ЗАВЕРШЕНА.")
                           : w("КОНВЕРТАЦИЯ ДАННЫХ НЕ ЗАВЕРШЕНА.");
    for (const ConversionOutcome* outcome : {&price, &requisites})
        if (!outcome->reason.empty())
            text += "\n" + outcome->reason;
    return text;
}

} // namespace app
