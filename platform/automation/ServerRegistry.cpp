#include "platform/automation/ServerRegistry.h"

#include "platform/automation/excel/ExcelApplication.h"
#include "platform/automation/outlook/OutlookApplication.h"

#include <QString>

#include <map>

namespace platform::automation {
namespace {

std::string key(std::string_view progId)
{
    return QString::fromLatin1(progId.data(), static_cast<qsizetype>(progId.size()))
        .trimmed()
        .toLower()
        .toStdString();
}

std::map<std::string, ServerRegistry::Factory>& factories()
{
    static std::map<std::string, ServerRegistry::Factory> registry{
        {key("Excel.Application"), [] { return std::make_shared<excel::ExcelApplication>(); }},
        {key("Outlook.Application"), [] { return std::make_shared<outlook::OutlookApplication>(); }},
    };
    return registry;
}

} // namespace

ServerRegistry::Factory ServerRegistry::registerServer(const std::string& progId, Factory factory)
{
    Factory& slot = factories()[key(progId)];
    Factory previous = std::move(slot);
    slot = std::move(factory);
    return previous;
}

std::shared_ptr<AutomationObject> ServerRegistry::create(std::string_view progId)
{
    const auto it = factories().find(key(progId));
    if (it == factories().end() || !it->second)
        return nullptr;
    return it->second();
}

} // namespace platform::automation
