#include "platform/automation/outlook/ItemPrinter.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/outlook/ItemText.h"
#include "platform/ui/PrinterSetup.h"

#include <QPrinter>
#include <QTextDocument>

namespace platform::automation::outlook {

QPrinter& ItemPrinter::printer()
{
    return platform::ui::PrinterSetup::printer();
}

void ItemPrinter::print(const StoredItem& item)
{
    const ItemText text = ItemText::of(item);
    QString html = QStringLiteral("<h3>%1</h3><table>").arg(text.title.toHtmlEscaped());
    for (const auto& [label, value] : text.fields)
        html += QStringLiteral("<tr><td><b>%1:</b>&nbsp;</td><td>%2</td></tr>")
                    .arg(label.toHtmlEscaped(), value.toHtmlEscaped());
    html += QStringLiteral("</table><hr/><pre style=\"white-space: pre-wrap\">%1</pre>")
                .arg(text.body.toHtmlEscaped());
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    document.setHtml(html);
    // The printer, or where there is none, a PDF file the user names (none: nothing printed).
    QPrinter* target = platform::ui::PrinterSetup::forJob();
    if (!target)
        return;
    if (!target->isValid())
        throw AutomationError("the printer cannot be opened");
    document.print(target);
    platform::ui::PrinterSetup::jobDone();
}

} // namespace platform::automation::outlook
