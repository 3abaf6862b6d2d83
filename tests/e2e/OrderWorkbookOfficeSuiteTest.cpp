#include "app/dictionary/Dictionary.h"
#include "app/orderworkbook/ExportOrderToExcel.h"
#include "app/orderworkbook/ImportOrderFromExcel.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using platform::text::w;

namespace {

// An order as the supplier receives it: opened in an office suite, which must see every cell as
// the program wrote it, and saved back from there, which the order-open must read as it was.
// Runs with whichever of the two suites is installed; skipped without either.
class OrderWorkbookInAnOfficeSuite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        platform::automation::OleControl::registerKind();
        platform::ui::WindowDefinition definition;
        definition.kind = "window";
        definition.label = "suite";
        platform::ui::ControlDefinition ole;
        ole.number = 1;
        ole.kind = "ole";
        definition.controls.push_back(ole);
        m_window = std::make_unique<platform::ui::Window>(definition);
        m_excel.Init(m_window.get(), 1, 1, 0, 0);
    }
    void TearDown() override
    {
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    // Lines in the basket's file order; texts in UTF-8.
    void fillBasket()
    {
        const char* const designations[] = {
            "0012", "5712.3700",         "1E3",        " 007 ", "2.10",
            "=A1",  "12345678901234567", "Ж-17/б «А»", "BIG"};
        int code = 0;
        for (const char* designation : designations) {
            ++code;
            app::KORZAK().clearBuffer();
            app::K().KOD = code * 1000 + 7;
            app::K().OBOZ = w(designation);
            app::K().NAIM = w("Фильтр масляный №") + std::to_string(code);
            app::K().PROIZV = w("Завод «Ардо»");
            app::K().KOL = static_cast<int16_t>(code);
            app::K().CENA = code == 9 ? 123456789.12 : 1.11 * code;
            app::K().SUMMA = code == 9 ? 123456789.12 : 1.11 * code * code;
            ASSERT_EQ(app::KORZAK().add(), 0);
            m_lines.push_back(app::K());
        }
        app::REKV().clearBuffer();
        app::REK().NAIM = w("ООО \"Ромашка\"");
        app::REK().INN = "007";
    }

    std::string path(const std::string& name) const { return m_folder.file(name).string(); }

    // Runs a suite's command; the error output is kept so a warning about the file shows.
    bool run(const QString& program, const QStringList& arguments, QString* errors)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
            *errors = program + QStringLiteral(" did not finish");
            return false;
        }
        *errors = QString::fromUtf8(process.readAllStandardError());
        return process.exitCode() == 0;
    }

    // The suite's own settings live in the test's folder, so a suite already running elsewhere
    // is neither used nor disturbed.
    QStringList libreOffice(const QString& to, const QStringList& files) const
    {
        QStringList arguments{QStringLiteral("-env:UserInstallation=file://") +
                                  QString::fromStdString(path("suite-profile")),
                              QStringLiteral("--headless"),
                              QStringLiteral("--convert-to"),
                              to,
                              QStringLiteral("--outdir"),
                              QString::fromStdString(path("suite"))};
        return arguments + files;
    }

    // Each line of the CSV as its fields, quotes removed.
    static std::vector<QStringList> csvRows(const QString& file)
    {
        QFile in(file);
        std::vector<QStringList> rows;
        if (!in.open(QIODevice::ReadOnly))
            return rows;
        const QString text = QString::fromUtf8(in.readAll());
        QStringList row;
        QString field;
        bool quoted = false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (quoted) {
                if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                    field += c;
                    ++i;
                } else if (c == u'"') {
                    quoted = false;
                } else {
                    field += c;
                }
            } else if (c == u'"') {
                quoted = true;
            } else if (c == u',') {
                row << field;
                field.clear();
            } else if (c == u'\n') {
                row << field;
                field.clear();
                rows.push_back(row);
                row.clear();
            } else if (c != u'\r') {
                field += c;
            }
        }
        return rows;
    }

    // What the suite shows: the header texts, every text of the lines byte for byte and every
    // amount as the number written.
    void expectCellsAsWritten(const QString& csv, const std::string& what)
    {
        const std::vector<QStringList> rows = csvRows(csv);
        ASSERT_EQ(rows.size(), 11 + m_lines.size()) << what;
        EXPECT_EQ(rows[0].value(0), QStringLiteral("ЗАКАЗ")) << what;
        EXPECT_EQ(rows[1].value(0), QStringLiteral("Заказчик: ООО \"Ромашка\"")) << what;
        EXPECT_EQ(rows[3].value(0), QStringLiteral("ИНН: 007")) << what;
        EXPECT_EQ(rows[5].value(0), QStringLiteral("Контактное лицо: ")) << what;
        EXPECT_EQ(rows[9].value(0), QStringLiteral("Общий вес заказа (кг): 7.2500")) << what;
        EXPECT_EQ(rows[10].join(u'|'),
                  QStringLiteral("Код|Обозначение|Наименование|Производитель|Кол-во|Цена|Сумма"))
            << what;
        for (size_t i = 0; i < m_lines.size(); ++i) {
            const app::KorzakRecord& k = m_lines[i];
            const QStringList& row = rows[11 + i];
            const std::string line = what + " line " + std::to_string(i + 1);
            ASSERT_EQ(row.size(), 7) << line;
            EXPECT_EQ(row[0].toLongLong(), k.KOD) << line;
            EXPECT_EQ(row[1], platform::text::toQString(k.OBOZ.view())) << line;
            EXPECT_EQ(row[2], platform::text::toQString(k.NAIM.view())) << line;
            EXPECT_EQ(row[3], platform::text::toQString(k.PROIZV.view())) << line;
            EXPECT_EQ(row[4].toInt(), k.KOL) << line;
            bool number = false;
            EXPECT_NEAR(row[5].toDouble(&number), k.CENA, 0.005) << line;
            EXPECT_TRUE(number) << line << ": " << row[5].toStdString();
            EXPECT_NEAR(row[6].toDouble(&number), k.SUMMA, 0.005) << line;
            EXPECT_TRUE(number) << line << ": " << row[6].toStdString();
        }
    }

    // What the order-open reads from a file the suite saved: the lines as they were written.
    void expectLinesReadBack(const std::string& file)
    {
        std::vector<app::KorzakRecord> lines;
        ASSERT_TRUE(app::readOrderWorkbook(m_excel, file, lines)) << file;
        ASSERT_EQ(lines.size(), m_lines.size()) << file;
        for (size_t i = 0; i < lines.size(); ++i) {
            const app::KorzakRecord& k = m_lines[i];
            EXPECT_EQ(lines[i].KOD, k.KOD) << file;
            EXPECT_EQ(lines[i].OBOZ.view(), k.OBOZ.view()) << file;
            EXPECT_EQ(lines[i].NAIM.view(), k.NAIM.view()) << file;
            EXPECT_EQ(lines[i].PROIZV.view(), k.PROIZV.view()) << file;
            EXPECT_EQ(lines[i].KOL, k.KOL) << file;
            EXPECT_NEAR(lines[i].CENA, k.CENA, 0.005) << file;
            EXPECT_NEAR(lines[i].SUMMA, k.SUMMA, 0.005) << file;
        }
    }

    // Warnings a suite gives about the file it read (the suite's own start-up notes aside).
    static QString fileWarnings(const QString& errors)
    {
        QStringList warnings;
        for (const QString& line : errors.split(u'\n')) {
            if (line.contains(QStringLiteral("WARNING")) ||
                line.contains(QStringLiteral("CRITICAL")) || line.contains(QStringLiteral("rror")))
                warnings << line;
        }
        return warnings.join(u'\n');
    }

    testsupport::TempWorkFolder m_folder;
    std::unique_ptr<platform::ui::Window> m_window;
    office::ExcelAutomation m_excel;
    std::vector<app::KorzakRecord> m_lines;
};

} // namespace

TEST_F(OrderWorkbookInAnOfficeSuite, SeesEveryCellAndSavesAFileTheOrderOpenReads)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    const QString gnumeric = QStandardPaths::findExecutable(QStringLiteral("ssconvert"));
    if (office.isEmpty() && gnumeric.isEmpty())
        GTEST_SKIP() << "no office suite is installed";
    fillBasket();
    ASSERT_TRUE(app::writeOrderWorkbook(m_excel, path("binary.xls"), w("Срочно"), 1, 7.25));
    ASSERT_TRUE(app::writeOrderWorkbook(m_excel, path("openxml.xlsx"), w("Срочно"), 1, 7.25));
    const QStringList written{QString::fromStdString(path("binary.xls")),
                              QString::fromStdString(path("openxml.xlsx"))};
    QDir().mkpath(QString::fromStdString(path("suite")));
    QString errors;

    if (!office.isEmpty()) {
        // Comma-separated, texts quoted, UTF-8.
        ASSERT_TRUE(
            run(office,
                libreOffice(QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), written),
                &errors))
            << errors.toStdString();
        EXPECT_EQ(fileWarnings(errors).toStdString(), "");
        expectCellsAsWritten(QString::fromStdString(path("suite/binary.csv")), "office .xls");
        expectCellsAsWritten(QString::fromStdString(path("suite/openxml.csv")), "office .xlsx");
        for (const QString& form : {QStringLiteral("xls"), QStringLiteral("xlsx")}) {
            ASSERT_TRUE(run(office, libreOffice(form, written), &errors)) << errors.toStdString();
        }
        for (const char* saved :
             {"suite/binary.xls", "suite/binary.xlsx", "suite/openxml.xls", "suite/openxml.xlsx"})
            expectLinesReadBack(path(saved));
    }
    if (!gnumeric.isEmpty()) {
        for (const QString& file : written) {
            const QString name = QFileInfo(file).completeBaseName();
            const QString to = QString::fromStdString(path("suite/gnumeric-")) + name;
            ASSERT_TRUE(run(gnumeric, {file, to + QStringLiteral(".csv")}, &errors))
                << errors.toStdString();
            EXPECT_EQ(errors.trimmed().toStdString(), "")
                << "warnings about " << name.toStdString();
            expectCellsAsWritten(to + QStringLiteral(".csv"),
                                 "gnumeric " + QFileInfo(file).suffix().toStdString());
            ASSERT_TRUE(run(gnumeric,
                            {QStringLiteral("-T"), QStringLiteral("Gnumeric_Excel:excel_biff8"),
                             file, to + QStringLiteral(".xls")},
                            &errors))
                << errors.toStdString();
            ASSERT_TRUE(run(gnumeric,
                            {QStringLiteral("-T"), QStringLiteral("Gnumeric_Excel:xlsx2"), file,
                             to + QStringLiteral(".xlsx")},
                            &errors))
                << errors.toStdString();
            expectLinesReadBack((to + QStringLiteral(".xls")).toStdString());
            expectLinesReadBack((to + QStringLiteral(".xlsx")).toStdString());
        }
    }
}
