#include "platform/automation/OleContainer.h"

#include "platform/automation/AutomationPath.h"
#include "platform/automation/PathTextServer.h"
#include "platform/automation/ServerRegistry.h"
#include "platform/text/Cp1251.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLoggingCategory>

namespace platform::automation {
namespace {

Q_LOGGING_CATEGORY(lcAutomation, "quelb.automation")

} // namespace

bool OleContainer::create(std::string_view progId)
{
    deactivate();
    m_lastError.clear();
    m_lastErrorCode = 0;
    m_application = ServerRegistry::create(progId);
    if (!m_application) {
        failed(progId, "no automation server is registered as " + std::string(progId));
        return false;
    }
    m_progId = std::string(progId);
    return true;
}

void OleContainer::deactivate()
{
    m_references.clear();
    m_application.reset();
    m_progId.clear();
}

Arguments OleContainer::argumentsOf(const PathMember& member) const
{
    Arguments arguments;
    arguments.reserve(member.arguments.size());
    for (const PathArgument& argument : member.arguments) {
        switch (argument.kind) {
        case PathArgument::Kind::Empty:
            arguments.push_back(AutomationValue::missing());
            break;
        case PathArgument::Kind::Number:
            arguments.push_back(AutomationValue::number(argument.number));
            break;
        case PathArgument::Kind::Name: {
            const QString name = QString::fromLatin1(argument.text);
            if (name.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
                arguments.push_back(AutomationValue::boolean(true));
            else if (name.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
                arguments.push_back(AutomationValue::boolean(false));
            else if (const auto value = m_application->constant(argument.text))
                arguments.push_back(AutomationValue::number(*value));
            else
                arguments.push_back(AutomationValue::text(argument.text));
            break;
        }
        case PathArgument::Kind::Text:
        case PathArgument::Kind::Bare:
            arguments.push_back(AutomationValue::text(argument.text));
            break;
        }
    }
    return arguments;
}

AutomationValue OleContainer::walk(const AutomationPath& path, size_t members)
{
    std::shared_ptr<AutomationObject> current = m_application;
    if (path.reference()) {
        current = m_references.find(*path.reference());
        if (!current)
            throw AutomationError("no object has the reference `"
                                  + std::to_string(*path.reference()));
    }
    AutomationValue value = AutomationValue::object(current);
    for (size_t i = 0; i < members; ++i) {
        if (!value.isObject())
            throw AutomationError(path.members()[i - 1].name + " is not an object");
        const PathMember& member = path.members()[i];
        value = value.objectValue()->get(member.name, argumentsOf(member));
    }
    return value;
}

std::string OleContainer::read(std::string_view path)
{
    m_lastError.clear();
    m_lastErrorCode = 0;
    if (!m_application) {
        failed(path, "no application is held");
        return {};
    }
    if (auto* whole = dynamic_cast<PathTextServer*>(m_application.get()))
        return whole->readPath(path);
    std::string why;
    const auto parsed = AutomationPath::parse(path, &why);
    if (!parsed) {
        failed(path, why);
        return {};
    }
    try {
        const AutomationValue answer = walk(*parsed, parsed->members().size());
        if (answer.isObject())
            return m_references.add(answer.objectValue());
        return answer.toText();
    } catch (const AutomationError& error) {
        failed(path, error.what(), error.code());
        return {};
    } catch (const std::exception& error) {
        failed(path, error.what());
        return {};
    }
}

bool OleContainer::write(std::string_view path, std::string_view value)
{
    m_lastError.clear();
    m_lastErrorCode = 0;
    if (!m_application) {
        failed(path, "no application is held");
        return false;
    }
    if (auto* whole = dynamic_cast<PathTextServer*>(m_application.get()))
        return whole->writePath(path, value);
    std::string why;
    const auto parsed = AutomationPath::parse(path, &why);
    if (!parsed || parsed->members().empty()) {
        failed(path, parsed ? "a reference alone cannot be written" : why);
        return false;
    }
    try {
        const size_t count = parsed->members().size();
        const AutomationValue target = walk(*parsed, count - 1);
        if (!target.isObject())
            throw AutomationError(parsed->members()[count - 2].name + " is not an object");
        const PathMember& last = parsed->members().back();
        target.objectValue()->set(last.name, argumentsOf(last),
                                  AutomationValue::text(std::string(value)));
        return true;
    } catch (const AutomationError& error) {
        failed(path, error.what(), error.code());
        return false;
    } catch (const std::exception& error) {
        failed(path, error.what());
        return false;
    }
}

void OleContainer::failed(std::string_view path, const std::string& why, int code)
{
    ++m_failures;
    m_lastError = why;
    m_lastErrorCode = code;
    const std::string shown = text::cp1251ToUtf8(path);
    if (m_reportException)
        qCCritical(lcAutomation, "%s: %s", shown.c_str(), text::cp1251ToUtf8(why).c_str());
    else
        qCWarning(lcAutomation, "%s: %s", shown.c_str(), text::cp1251ToUtf8(why).c_str());
}

void OleContainer::setClipboardText(std::string_view text)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (!text.empty())
        clipboard->setText(platform::text::toQString(text));
}

std::string OleContainer::clipboardText()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    return platform::text::fromQString(QGuiApplication::clipboard()->text());
}

} // namespace platform::automation
