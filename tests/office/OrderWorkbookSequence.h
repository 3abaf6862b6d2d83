#pragma once

// The command sequence with which the ordering program writes its order workbook and reads it
// back, sent through ExcelAutomation; shared by the tests and the benchmark.

#include "office/ExcelAutomation.h"
#include "platform/text/Cp1251.h"

#include <cstdio>
#include <string>
#include <vector>
#include "platform/text/RealText.h"

namespace ordersequence {

using platform::text::w;

struct Line
{
    int code = 0;
    std::string designation; // 50 characters, Windows-1251
    std::string name;
    std::string maker;
    int quantity = 0;
    double price = 0;
    double sum = 0;
};

inline std::string padded(std::string text, size_t width)
{
    text.resize(width, ' ');
    return text;
}

inline std::string picture(double value, int decimals, int width)
{
    std::string text = platform::text::realFixedText(value, decimals);
    if (text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

inline std::vector<Line> sampleLines(int count)
{
    std::vector<Line> lines;
    for (int i = 1; i <= count; ++i) {
        Line line;
        line.code = 100000 + i;
        line.designation = padded(w("Фильтр масляный ") + std::to_string(i), 50);
        line.name = padded(w("Деталь номер ") + std::to_string(i), 50);
        line.maker = padded("MAKER-" + std::to_string(i % 7), 50);
        line.quantity = i % 13 + 1;
        line.price = 12.5 + i;
        line.sum = line.price * line.quantity;
        lines.push_back(line);
    }
    return lines;
}

inline void borders(office::ExcelAutomation& excel)
{
    excel.SetProperty("Selection.Borders.ColorIndex", "-4105");
    excel.SetProperty("Selection.Borders.LineStyle", "1");
    excel.SetProperty("Selection.Borders.Weight", "2");
}

inline void writeOrder(office::ExcelAutomation& excel, const std::vector<Line>& lines,
                       const std::string& fileName, const std::vector<std::string>& requisites)
{
    excel.AddWorkbook();
    const int widths[] = {10, 40, 40, 30, 12, 16, 17};
    for (int column = 1; column <= 7; ++column)
        excel.SetColumnWidth(column, widths[column - 1]);
    excel.SelectRange("A1:G1");
    excel.SetSelectionMergeCells(1);
    excel.SetRangeFormula("A1", w("ЗАКАЗ"));
    excel.SelectRange("A1");
    excel.SetFontSize(14);
    excel.SetFontItalic(1);
    excel.SetFontBold(1);
    excel.SetPrefix("Selection.");
    excel.SetProperty("HorizontalAlignment", "-4108");
    excel.SetProperty("VerticalAlignment", "-4108");
    excel.SetProperty("Borders(xlEdgeRight).LineStyle", "1");
    excel.ClearPrefix();
    excel.SelectRange("A1:G1");
    borders(excel);
    excel.SetPrefix("Selection.");
    excel.SetProperty("HorizontalAlignment", "-4108");
    excel.SetProperty("VerticalAlignment", "-4108");
    excel.ClearPrefix();
    for (int row = 2; row <= 10; ++row) {
        const std::string r = std::to_string(row);
        excel.SelectRange("A" + r + ":G" + r);
        excel.SetSelectionMergeCells(1);
        excel.SetFontSize(12);
        if (row == 10)
            excel.SetFontBold(1);
        if (row >= 9)
            excel.SelectRange("A" + r);
        excel.SetRangeFormula("A" + r, requisites.at(static_cast<size_t>(row - 2)));
    }
    const char* headings[] = {"Код", "Обозначение", "Наименование", "Производитель",
                              "Кол-во", "Цена", "Сумма"};
    for (int column = 0; column < 7; ++column) {
        excel.SelectRange(std::string(1, static_cast<char>('A' + column)) + "11");
        excel.SetActiveCellFormula(w(headings[column]));
        excel.SetProperty("Selection.HorizontalAlignment", "-4108");
        excel.SetProperty("Selection.VerticalAlignment", "-4108");
        excel.SetFontSize(12);
        excel.SetFontBold(1);
        excel.SetFontItalic(1);
        borders(excel);
    }
    int row = 11;
    for (const Line& line : lines) {
        ++row;
        // The texts go in with a leading "'", so that they stay texts as typed.
        const std::string values[] = {std::to_string(line.code), "'" + line.designation,
                                      "'" + line.name, "'" + line.maker, picture(line.quantity, 0, 5),
                                      picture(line.price, 2, 11), picture(line.sum, 2, 11)};
        for (int column = 0; column < 7; ++column) {
            excel.SelectRange(std::string(1, static_cast<char>('A' + column)) + std::to_string(row));
            excel.SetActiveCellFormula(values[column]);
            if (column == 0 || column == 4) {
                excel.SetFontBold(1);
                excel.SetProperty("Selection.HorizontalAlignment", "-4152");
                excel.SetProperty("Selection.Font.ColorIndex", column == 0 ? "11" : "5");
            } else if (column >= 5) {
                excel.SetProperty("Selection.HorizontalAlignment", "-4152");
                excel.SetProperty("Selection.NumberFormat", "0.00");
            }
            excel.SetProperty("Selection.VerticalAlignment", "-4108");
            excel.SetFontSize(12);
            borders(excel);
        }
    }
    excel.SaveWorkbookAs(fileName);
    excel.CloseActiveWindow(1);
}

inline std::string trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

inline bool completeNumber(const std::string& text)
{
    const std::string t = trimmed(text);
    if (t.empty())
        return false;
    return platform::text::readReal(t).used == t.size();
}

// Reads the lines back as the order open does: column A until the seventh blank A cell, rows
// whose A cell is no complete number passed over.
inline std::vector<Line> readOrder(office::ExcelAutomation& excel, const std::string& fileName)
{
    std::vector<Line> lines;
    excel.OpenWorkbook(fileName);
    int blanks = 0;
    for (int row = 1;; ++row) {
        const std::string r = std::to_string(row);
        const std::string a = excel.GetRangeValue("A" + r).substr(0, 200);
        if (trimmed(a).find_first_not_of(' ') == std::string::npos) {
            if (++blanks == 7)
                break;
            continue;
        }
        if (!completeNumber(a))
            continue;
        Line line;
        line.code = static_cast<int>(platform::text::textToReal(a));
        line.designation = excel.GetRangeValue("B" + r).substr(0, 50);
        line.name = excel.GetRangeValue("C" + r).substr(0, 50);
        line.maker = excel.GetRangeValue("D" + r).substr(0, 50);
        line.quantity = static_cast<int>(platform::text::textToReal(excel.GetRangeValue("E" + r)));
        auto real = [](std::string text) {
            text = text.substr(0, 100);
            for (char& c : text)
                if (c == ',')
                    c = '.';
            return platform::text::textToReal(text);
        };
        line.price = real(excel.GetRangeValue("F" + r));
        line.sum = real(excel.GetRangeValue("G" + r));
        lines.push_back(line);
    }
    excel.CloseActiveWindow(1);
    return lines;
}

inline std::vector<std::string> sampleRequisites()
{
    return {w("Заказчик: ООО Ромашка"), w("Адрес: "), w("ИНН: "), w("Телефон: 123   E-mail:a@b.c"),
            w("Контактное лицо: "), w("Банк: "), w("БИК: 1   Р/сч:2   Корр/сч:3"),
            w("Комментарий к заказу: срочно"), w("Общий вес заказа (кг): 12.5000")};
}

} // namespace ordersequence
