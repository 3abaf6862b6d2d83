#pragma once

#include "platform/automation/AutomationObject.h"
#include "platform/automation/excel/SheetState.h"
#include "platform/automation/workbook/Workbook.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace platform::automation::excel {

class ExcelApplication;
class ExcelChart;
class ExcelWorksheet;

// An open workbook: the model, the file it came from or was saved as, the state of its sheets
// and its charts.
class ExcelWorkbook : public AutomationObject
{
public:
    ExcelWorkbook(std::weak_ptr<ExcelApplication> application, workbook::Workbook model,
                  QString path, QString name);

    AutomationValue get(std::string_view member, const Arguments& arguments) override;
    void set(std::string_view member, const Arguments& arguments,
             const AutomationValue& value) override;
    std::string typeName() const override { return "Workbook"; }

    workbook::Workbook& model() { return m_model; }
    workbook::Worksheet& activeSheet();
    SheetState& state(const workbook::Worksheet& sheet);
    std::shared_ptr<ExcelWorksheet> sheetObject(int index); // from 0
    std::shared_ptr<ExcelWorksheet> activeSheetObject();
    // A sheet by number (from 1) or name; throws when there is none.
    int sheetIndex(const AutomationValue& which);

    // Writes the file the name asks for (".xlsx" Office Open XML, else the binary workbook);
    // throws with the reason when it cannot.
    void saveAs(const QString& path);
    void close(bool save);
    bool isOpen() const { return m_open; }
    // Whether the workbook changed since it was made, opened or saved; Close with save writes
    // only a changed workbook, as the spreadsheet does.
    bool isChanged() const { return m_changed; }
    void markChanged() { m_changed = true; }
    const QString& path() const { return m_path; }
    const QString& name() const { return m_name; }

    std::shared_ptr<ExcelChart> addChart();
    std::shared_ptr<ExcelChart> activeChart() const { return m_activeChart; }
    int chartCount() const { return static_cast<int>(m_charts.size()); }

    std::shared_ptr<ExcelApplication> application() const;

private:
    std::weak_ptr<ExcelApplication> m_application;
    workbook::Workbook m_model;
    QString m_path;
    QString m_name;
    bool m_open = true;
    bool m_changed = false;
    std::map<const workbook::Worksheet*, SheetState> m_states;
    std::vector<std::shared_ptr<ExcelChart>> m_charts;
    std::shared_ptr<ExcelChart> m_activeChart;
};

} // namespace platform::automation::excel
