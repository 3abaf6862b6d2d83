#include "app/conv/ProgressDefinition.h"

#include "platform/ui/DefinitionError.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/ProgressWindow.h"

namespace app {

using namespace platform::ui;

void ApplyProgressDefinition(ProgressWindow& window, std::string_view module)
{
    try {
        window.takeDefinition(loadWindowDefinition(module, "P1$PROGRESSWINDOW"));
    } catch (const DefinitionError&) {
    }
}

void OpenConversionProgress(ProgressWindow& window, std::string_view module,
                            const std::string& userText)
{
    ApplyProgressDefinition(window, module);
    window.setTitle("Processing Records");
    window.setPercent(0);
    window.setUserText(userText);
}

} // namespace app
