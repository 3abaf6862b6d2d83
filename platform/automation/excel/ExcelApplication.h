#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/workbook/Cell.h"
#include "platform/automation/workbook/Workbook.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace platform::automation::excel {

class ExcelWorkbook;
class ExcelWorksheet;

// The application object of the built-in "Excel.Application" server: its workbooks, the active
// one, the selection (a range of the active sheet, or a chart part just selected), the cells
// last copied and its settings.
class ExcelApplication : public AutomationObject
{
public:
    // A copied block: its cells by offset from the top-left corner and the text put on the
    // clipboard with it; a cut block also names where it came from.
    struct CopiedBlock
    {
        int rows = 0;
        int columns = 0;
        std::map<std::pair<int, int>, workbook::Cell> cells;
        QString text;
        std::weak_ptr<ExcelWorkbook> cutFrom;
        workbook::Worksheet* cutSheet = nullptr;
        workbook::CellRange cutRange;
    };

    ExcelApplication();

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Application"; }
    std::optional<double> constant(std::string_view name) const override;

    std::shared_ptr<ExcelWorkbook> activeWorkbook() const; // throws when none is open
    std::shared_ptr<ExcelWorkbook> addWorkbook(workbook::Workbook model, const QString& path);
    void activate(const std::shared_ptr<ExcelWorkbook>& book);
    void forget(const ExcelWorkbook* book); // a closed workbook leaves the list
    const std::vector<std::shared_ptr<ExcelWorkbook>>& workbooks() const { return m_workbooks; }

    // A chart part selected by its Select method; nullptr returns the selection to the cells.
    void selectObject(const std::shared_ptr<AutomationObject>& object) { m_selectedObject = object; }

    std::optional<CopiedBlock>& copied() { return m_copied; }

    bool displayAlerts() const { return m_displayAlerts; }

private:
    AutomationValue workbooksCollection();
    AutomationValue openWorkbook(const QString& path, bool asTemplate);
    AutomationValue international(int index) const;
    AutomationValue gotoReference(const AutomationValue& reference);

    std::vector<std::shared_ptr<ExcelWorkbook>> m_workbooks;
    std::shared_ptr<ExcelWorkbook> m_active;
    std::shared_ptr<AutomationObject> m_selectedObject;
    std::optional<CopiedBlock> m_copied;
    int m_newBooks = 0;
    bool m_visible = false;
    bool m_displayAlerts = true;
    bool m_screenUpdating = true;
    int m_windowState = -4143;
};

} // namespace platform::automation::excel
