#include "app/conv/ProgressDefinition.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/DefinitionError.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/ProgressWindow.h"

#include <QPushButton>

namespace app {

using namespace platform::ui;

void ApplyProgressDefinition(ProgressWindow& window, std::string_view module)
{
    try {
        const WindowDefinition definition =
            loadWindowDefinition(module, "P1$PROGRESSWINDOW");
        window.setTitle(definition.title);
        for (const ControlDefinition& control : definition.controls)
            if (control.label == "?PROGRESS:CANCEL" && !control.text.empty())
                window.cancelButton()->setText(platform::text::toQString(control.text));
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
