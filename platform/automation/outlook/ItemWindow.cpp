#include "platform/automation/outlook/ItemWindow.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/outlook/ItemText.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace platform::automation::outlook {

void ItemWindow::show(const StoredItem& item)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        throw AutomationError("an item can only be displayed in a program with windows");
    const ItemText text = ItemText::of(item);
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("OutlookItemWindow"));
    window->setWindowTitle(text.title);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Тема:"), new QLabel(text.title, window));
    for (const auto& [label, value] : text.fields) {
        auto* shown = new QLabel(value, window);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
        shown->setWordWrap(true);
        form->addRow(label + QLatin1Char(':'), shown);
    }
    auto* body = new QPlainTextEdit(text.body, window);
    body->setReadOnly(true);
    auto* layout = new QVBoxLayout(window);
    layout->addLayout(form);
    layout->addWidget(body);
    window->resize(560, 420);
    window->show();
}

} // namespace platform::automation::outlook
