#include "platform/ui/ControlFactory.h"

#include "platform/ui/ButtonControl.h"
#include "platform/ui/CheckControl.h"
#include "platform/ui/EntryControl.h"
#include "platform/ui/GroupControl.h"
#include "platform/ui/ImageControl.h"
#include "platform/ui/LineControl.h"
#include "platform/ui/OptionControl.h"
#include "platform/ui/ProgressControl.h"
#include "platform/ui/RadioControl.h"
#include "platform/ui/SheetControl.h"
#include "platform/ui/StringControl.h"
#include "platform/ui/TabControl.h"
#include "platform/ui/list/DropList.h"
#include "platform/ui/list/ListControl.h"

#include <map>

namespace platform::ui {
namespace {

template <typename T> ControlFactory::Creator creatorOf()
{
    return [](Window& window, const ControlDefinition& definition, QWidget* parent) {
        return std::make_unique<T>(window, definition, parent);
    };
}

std::map<std::string, ControlFactory::Creator, std::less<>>& creators()
{
    static std::map<std::string, ControlFactory::Creator, std::less<>> registry{
        {"string", creatorOf<StringControl>()},
        {"prompt", creatorOf<StringControl>()},
        {"display", creatorOf<StringControl>()},
        {"entry", creatorOf<EntryControl>()},
        {"button", creatorOf<ButtonControl>()},
        {"check", creatorOf<CheckControl>()},
        {"group", creatorOf<GroupControl>()},
        {"option", creatorOf<OptionControl>()},
        {"radio", creatorOf<RadioControl>()},
        {"sheet", creatorOf<SheetControl>()},
        {"tab", [](Window& window, const ControlDefinition& definition,
                   QWidget*) { return std::make_unique<TabControl>(window, definition); }},
        {"line", creatorOf<LineControl>()},
        {"progress", creatorOf<ProgressControl>()},
        {"list", creatorOf<ListControl>()},
        {"droplist", creatorOf<DropList>()},
        {"image", creatorOf<ImageControl>()},
    };
    return registry;
}

} // namespace

void ControlFactory::registerKind(const std::string& kind, Creator creator)
{
    creators()[kind] = std::move(creator);
}

bool ControlFactory::isKnown(std::string_view kind)
{
    return creators().find(kind) != creators().end();
}

std::unique_ptr<Control> ControlFactory::create(Window& window, const ControlDefinition& definition,
                                                QWidget* parent)
{
    const auto it = creators().find(definition.kind);
    if (it == creators().end())
        return nullptr;
    return it->second(window, definition, parent);
}

} // namespace platform::ui
