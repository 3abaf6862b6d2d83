#include "app/browsepriosn/SelectionState.h"

#include "app/dictionary/Dictionary.h"
#include "app/dictionary/SelectionQueues.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"

namespace app {

using platform::text::w;

namespace {

// A single character read as a number: a digit gives its value, anything else 0.
uint8_t digitAt(std::string_view text, std::size_t position)
{
    if (position > text.size())
        return 0;
    const char c = text[position - 1];
    return c >= '0' && c <= '9' ? static_cast<uint8_t>(c - '0') : 0;
}

const std::string& lineBreak()
{
    static const std::string text = "\r\n";
    return text;
}

std::string rule()
{
    return std::string(20, '-');
}

template <typename Entry>
void appendNames(std::string& tooltip, const platform::storage::Queue<Entry>& queue)
{
    tooltip += w("---по списку---");
    const std::size_t shown = std::min<std::size_t>(queue.records(), 10);
    for (std::size_t i = 1; i <= shown; ++i)
        tooltip += lineBreak() + std::string(queue.at(i).N.clipped());
    if (queue.records() > 10)
        tooltip += lineBreak() + ".......";
}

} // namespace

SelectionState& Selection()
{
    static SelectionState state;
    return state;
}

bool applySelectionResult(std::string_view result, SelectionState& state)
{
    if (result.find_first_not_of(' ') == std::string_view::npos)
        return false;
    state.applicabilityMode = digitAt(result, 1);
    state.manufacturerMode = digitAt(result, 2);
    state.phrase = result.size() > 2 ? result.substr(2, 50) : std::string_view{};
    state.showOnlyMarkedTypes = digitAt(result, 53);
    state.showOnlyMarkedManufacturers = digitAt(result, 54);
    return true;
}

void fillQ1FromMarks()
{
    Q1().free();
    SPRPR().setFileOrder();
    SPRPR().stream();
    while (SPRPR().next() == 0) {
        if (SP().M != 1)
            continue;
        Q1().buffer().N = platform::text::upper(SP().NAIM.view());
        Q1().append();
    }
    SPRPR().flush();
}

void fillQ2FromMarks()
{
    Q2().free();
    PROIZ().setFileOrder();
    PROIZ().stream();
    while (PROIZ().next() == 0) {
        if (P().M != 1)
            continue;
        Q2().buffer().N = P().NAIM.view();
        Q2().append();
    }
    PROIZ().flush();
}

std::string selectionCaption(const SelectionState& state)
{
    return state.applicabilityMode == 0 && state.manufacturerMode == 0 ? "Выборка (нет)"
                                                                        : "Выборка (есть)";
}

int32_t selectionColour(const SelectionState& state)
{
    return state.applicabilityMode == 0 && state.manufacturerMode == 0 ? 0x2812A7 : 0x8400;
}

std::string selectionTooltip(const SelectionState& state)
{
    std::string tooltip = w("Выборка ПО ПРОИЗВОДИТЕЛЮ:") + lineBreak();
    if (state.manufacturerMode == 0)
        tooltip += w("ВСЕ") + lineBreak() + rule();
    else if (state.manufacturerMode == 1)
        appendNames(tooltip, Q2());
    tooltip += lineBreak() + rule() + lineBreak();
    tooltip += w("Выборка по применяемости:") + lineBreak();
    if (state.applicabilityMode == 0)
        tooltip += w("ВСЕ") + lineBreak() + rule();
    else if (state.applicabilityMode == 1)
        tooltip += w("по фразе: \"") + std::string(state.phrase.clipped()) + "\"";
    else if (state.applicabilityMode == 2)
        appendNames(tooltip, Q1());
    tooltip += lineBreak() + rule() + lineBreak();
    return tooltip;
}

} // namespace app
