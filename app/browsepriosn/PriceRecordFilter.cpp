#include "app/browsepriosn/PriceRecordFilter.h"

#include "app/dictionary/SelectionQueues.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Collation.h"

namespace app {

namespace {

using platform::text::clip;

std::string_view leftAligned(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// instring(sought, searched, 1, 1) > 0: an empty sought text is never found.
bool occursIn(std::string_view sought, std::string_view searched)
{
    return !sought.empty() && searched.find(sought) != std::string_view::npos;
}

bool applicabilityPasses(const PriosnRecord& record, const SelectionState& state)
{
    switch (state.applicabilityMode) {
    case 0:
        return true;
    case 1: {
        const std::string applicability = platform::text::upper(record.PRIMEN.view());
        const std::string phrase = platform::text::upper(clip(leftAligned(state.phrase.view())));
        return occursIn(phrase, applicability);
    }
    case 2: {
        const std::string applicability = platform::text::upper(record.PRIMEN.view());
        const auto& queue = Q1();
        for (std::size_t i = 1; i <= queue.records(); ++i)
            if (occursIn(platform::text::upper(queue.at(i).N.clipped()), applicability))
                return true;
        return false;
    }
    default:
        return false;
    }
}

bool manufacturerPasses(const PriosnRecord& record, const SelectionState& state)
{
    switch (state.manufacturerMode) {
    case 0:
        return true;
    case 1: {
        const std::string_view manufacturer = clip(leftAligned(record.PROIZV.view()));
        const auto& queue = Q2();
        for (std::size_t i = 1; i <= queue.records(); ++i)
            if (queue.at(i).N.clipped() == manufacturer)
                return true;
        return false;
    }
    default:
        return false;
    }
}

} // namespace

int PriceRecordFilter(const PriosnRecord& record, uint8_t analogues, const SelectionState& state)
{
    if (analogues != 0)
        return RecordFilterResult::Accepted;
    return applicabilityPasses(record, state) && manufacturerPasses(record, state)
               ? RecordFilterResult::Accepted
               : RecordFilterResult::Filtered;
}

} // namespace app
