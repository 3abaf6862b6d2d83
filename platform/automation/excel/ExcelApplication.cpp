#include "platform/automation/excel/ExcelApplication.h"

#include "platform/automation/excel/ExcelCollection.h"
#include "platform/automation/excel/ExcelConstants.h"
#include "platform/automation/excel/ExcelRange.h"
#include "platform/automation/excel/ExcelWorkbook.h"
#include "platform/automation/excel/ExcelWorksheet.h"
#include "platform/automation/workbook/WorkbookFile.h"
#include "platform/text/Cp1251.h"

#include "platform/automation/SystemFileName.h"

#include <QFileInfo>

#include <algorithm>

namespace platform::automation::excel {

using platform::text::fromQString;
using platform::text::toQString;

namespace {

std::shared_ptr<SettingsObject> windowOf(const std::shared_ptr<ExcelWorkbook>& book)
{
    auto window = std::make_shared<SettingsObject>(
        "Window", std::vector<std::string>{"caption", "zoom"}, std::vector<std::string>{},
        std::vector<std::string>{"close", "activate"});
    window->setValue("caption", AutomationValue::text(fromQString(book->name())));
    std::weak_ptr<ExcelWorkbook> weak = book;
    window->setMethodHandler([weak](const std::string& method, const Arguments& arguments) {
        auto owner = weak.lock();
        if (!owner || !owner->isOpen())
            throw AutomationError("the window has been closed");
        if (method == "close")
            return owner->get("Close", arguments);
        return owner->get("Activate", {});
    });
    return window;
}

} // namespace

ExcelApplication::ExcelApplication() = default;

std::optional<double> ExcelApplication::constant(std::string_view name) const
{
    return ExcelConstants::find(name);
}

std::shared_ptr<ExcelWorkbook> ExcelApplication::activeWorkbook() const
{
    if (!m_active)
        fail("no workbook is open");
    return m_active;
}

std::shared_ptr<ExcelWorkbook> ExcelApplication::addWorkbook(workbook::Workbook model,
                                                             const QString& path)
{
    const QString name = path.isEmpty() ? QStringLiteral("Book%1").arg(++m_newBooks)
                                        : QFileInfo(path).fileName();
    auto book = std::make_shared<ExcelWorkbook>(
        std::static_pointer_cast<ExcelApplication>(shared_from_this()), std::move(model), path,
        name);
    m_workbooks.push_back(book);
    activate(book);
    return book;
}

void ExcelApplication::activate(const std::shared_ptr<ExcelWorkbook>& book)
{
    m_active = book;
    m_selectedObject.reset();
}

void ExcelApplication::forget(const ExcelWorkbook* book)
{
    std::erase_if(m_workbooks, [book](const auto& open) { return open.get() == book; });
    if (m_active.get() == book) {
        m_active = m_workbooks.empty() ? nullptr : m_workbooks.back();
        m_selectedObject.reset();
    }
}

AutomationValue ExcelApplication::workbooksCollection()
{
    auto self = std::static_pointer_cast<ExcelApplication>(shared_from_this());
    return AutomationValue::object(std::make_shared<ExcelCollection>(
        "Workbooks", [self] { return static_cast<int>(self->m_workbooks.size()); },
        [self](const Arguments& item) { return self->get("Workbooks", item); },
        [self](std::string_view method, const Arguments& arguments) -> std::optional<AutomationValue> {
            if (is(method, "Add")) {
                if (given(arguments, 0))
                    return self->openWorkbook(systemFileName(arguments[0].toText()), true);
                return AutomationValue::object(self->addWorkbook(workbook::Workbook(), {}));
            }
            if (is(method, "Open")) {
                if (!given(arguments, 0))
                    fail("Open needs a file name");
                return self->openWorkbook(systemFileName(arguments[0].toText()), false);
            }
            if (is(method, "Close")) {
                // Each close takes the workbook out of the list, so hold it while it closes.
                while (!self->m_workbooks.empty()) {
                    const auto book = self->m_workbooks.back();
                    book->close(false);
                }
                return AutomationValue::boolean(true);
            }
            return std::nullopt;
        }));
}

AutomationValue ExcelApplication::openWorkbook(const QString& path, bool asTemplate)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!asTemplate) {
        for (const auto& book : m_workbooks) {
            if (book->path() == absolute) {
                activate(book);
                return AutomationValue::object(book);
            }
        }
    }
    QString error;
    std::optional<workbook::Workbook> model = workbook::WorkbookFile::open(absolute, &error);
    if (!model)
        fail(fromQString(error));
    return AutomationValue::object(addWorkbook(std::move(*model), asTemplate ? QString() : absolute));
}

AutomationValue ExcelApplication::international(int index) const
{
    // The answers of the US English version on a machine with Russian settings; the channel
    // sets the language 1033.
    switch (index) {
    case 1: return AutomationValue::number(1);   // country of the version
    case 2: return AutomationValue::number(7);   // country of the system settings
    case 3: return AutomationValue::text(".");   // decimal separator
    case 4: return AutomationValue::text(",");   // thousands separator
    case 5: return AutomationValue::text(",");   // list separator
    case 17: return AutomationValue::text("."); // date separator
    case 18: return AutomationValue::text(":"); // time separator
    case 19: return AutomationValue::text("y");
    case 20: return AutomationValue::text("m");
    case 21: return AutomationValue::text("d");
    case 32: return AutomationValue::number(1); // day-month-year order
    case 33: return AutomationValue::boolean(true); // 24-hour clock
    default: fail("International has no setting " + std::to_string(index));
    }
}

AutomationValue ExcelApplication::gotoReference(const AutomationValue& reference)
{
    if (reference.isObject()) {
        reference.objectValue()->get("Select", {});
        return AutomationValue::boolean(true);
    }
    auto book = activeWorkbook();
    QString text = toQString(reference.toText()).trimmed();
    const qsizetype bang = text.lastIndexOf(QLatin1Char('!'));
    if (bang >= 0) {
        QString sheet = text.left(bang);
        if (sheet.startsWith(QLatin1Char('\'')) && sheet.endsWith(QLatin1Char('\'')) && sheet.size() >= 2)
            sheet = sheet.mid(1, sheet.size() - 2);
        const int index = book->model().indexOf(sheet);
        if (index < 0)
            fail("Goto: no sheet named " + fromQString(sheet));
        book->model().setActiveSheetIndex(index);
        text = text.mid(bang + 1);
    }
    auto range = book->activeSheetObject()->get("Range", {AutomationValue::text(fromQString(text))});
    range.objectValue()->get("Select", {});
    return AutomationValue::boolean(true);
}

AutomationValue ExcelApplication::get(std::string_view member, const Arguments& arguments)
{
    if (is(member, "Application"))
        return AutomationValue::object(shared_from_this());
    if (is(member, "Version"))
        return AutomationValue::text("11.0");
    if (is(member, "Visible"))
        return AutomationValue::boolean(m_visible);
    if (is(member, "DisplayAlerts"))
        return AutomationValue::boolean(m_displayAlerts);
    if (is(member, "ScreenUpdating"))
        return AutomationValue::boolean(m_screenUpdating);
    if (is(member, "WindowState"))
        return AutomationValue::number(m_windowState);
    if (is(member, "Activate") || is(member, "Calculate"))
        return AutomationValue::boolean(true);
    if (is(member, "Workbooks")) {
        if (!given(arguments, 0))
            return workbooksCollection();
        const AutomationValue& which = arguments[0];
        if (which.type() == AutomationValue::Type::Number) {
            const long long number = which.toInteger();
            if (number < 1 || number > static_cast<long long>(m_workbooks.size()))
                fail("no workbook " + std::to_string(number));
            return AutomationValue::object(m_workbooks[static_cast<size_t>(number - 1)]);
        }
        for (const auto& book : m_workbooks) {
            if (book->name().compare(toQString(which.toText()), Qt::CaseInsensitive) == 0)
                return AutomationValue::object(book);
        }
        fail("no workbook named " + which.toText());
    }
    if (is(member, "ActiveWorkbook"))
        return AutomationValue::object(activeWorkbook());
    if (is(member, "ActiveWindow"))
        return AutomationValue::object(windowOf(activeWorkbook()));
    if (is(member, "Windows")) {
        auto self = std::static_pointer_cast<ExcelApplication>(shared_from_this());
        auto item = [self](const Arguments& which) {
            const long long number = argument(which, 0).toInteger();
            if (number < 1 || number > static_cast<long long>(self->m_workbooks.size()))
                fail("no window " + std::to_string(number));
            return AutomationValue::object(windowOf(self->m_workbooks[static_cast<size_t>(number - 1)]));
        };
        if (given(arguments, 0))
            return item(arguments);
        return AutomationValue::object(std::make_shared<ExcelCollection>(
            "Windows", [self] { return static_cast<int>(self->m_workbooks.size()); }, item));
    }
    if (is(member, "Sheets") || is(member, "Worksheets") || is(member, "ActiveSheet")
        || is(member, "Charts") || is(member, "ActiveChart"))
        return activeWorkbook()->get(member, arguments);
    if (is(member, "ActiveCell")) {
        noArguments(member, arguments);
        auto book = activeWorkbook();
        workbook::Worksheet& sheet = book->activeSheet();
        const SheetState& state = book->state(sheet);
        return AutomationValue::object(std::make_shared<ExcelRange>(
            book, &sheet, workbook::CellRange::cell(state.activeRow, state.activeColumn)));
    }
    if (is(member, "Selection")) {
        noArguments(member, arguments);
        if (m_selectedObject)
            return AutomationValue::object(m_selectedObject);
        auto book = activeWorkbook();
        workbook::Worksheet& sheet = book->activeSheet();
        const SheetState& state = book->state(sheet);
        return AutomationValue::object(std::make_shared<ExcelRange>(book, &sheet, state.selection));
    }
    if (is(member, "Range") || is(member, "Cells") || is(member, "Columns") || is(member, "Rows"))
        return activeWorkbook()->activeSheetObject()->get(member, arguments);
    if (is(member, "Goto")) {
        if (!given(arguments, 0))
            fail("Goto needs a reference");
        return gotoReference(arguments[0]);
    }
    if (is(member, "International"))
        return international(static_cast<int>(argument(arguments, 0).toInteger()));
    if (is(member, "CentimetersToPoints"))
        return AutomationValue::number(argument(arguments, 0).toNumber() * 72.0 / 2.54);
    if (is(member, "InchesToPoints"))
        return AutomationValue::number(argument(arguments, 0).toNumber() * 72.0);
    if (is(member, "Run"))
        fail("no macro named " + argument(arguments, 0).toText() + " exists: macros do not run here");
    if (is(member, "Quit")) {
        while (!m_workbooks.empty()) {
            const auto book = m_workbooks.back();
            book->close(false);
        }
        m_copied.reset();
        return AutomationValue::boolean(true);
    }
    unknown(member);
}

void ExcelApplication::set(std::string_view member, const Arguments& arguments,
                           const AutomationValue& value)
{
    noArguments(member, arguments);
    if (is(member, "Visible"))
        m_visible = value.toBoolean();
    else if (is(member, "DisplayAlerts"))
        m_displayAlerts = value.toBoolean();
    else if (is(member, "ScreenUpdating"))
        m_screenUpdating = value.toBoolean();
    else if (is(member, "WindowState"))
        m_windowState = static_cast<int>(value.toInteger());
    else
        AutomationObject::set(member, arguments, value);
}

} // namespace platform::automation::excel
