#include "platform/automation/workbook/XlsxReader.h"

#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/WorkbookLimits.h"
#include "platform/automation/workbook/XlsxSheetReader.h"
#include "platform/automation/workbook/XlsxStyleReader.h"
#include "platform/automation/workbook/XlsxXml.h"
#include "platform/automation/workbook/XmlTagCounter.h"
#include "platform/automation/workbook/ZipArchiveReader.h"

#include <QHash>
#include <QStringList>
#include <QXmlStreamReader>

#include <vector>

namespace platform::automation::workbook {
namespace {

QString resolve(const QString& base, const QString& target)
{
    if (target.startsWith(u'/')) {
        return target.mid(1);
    }
    QStringList parts = base.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : target.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!parts.isEmpty()) {
                parts.removeLast();
            }
        } else if (part != u".") {
            parts.append(part);
        }
    }
    return parts.join(u'/');
}

// Relationship id -> target path, for the relationships of part.
QHash<QString, QString> readRelationships(ZipArchiveReader& archive, const QString& part,
                                          const QString& typeEnding)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    const QString folder = slash < 0 ? QString() : part.left(slash);
    const QString name = part.mid(slash + 1);
    const QString relsPath = (folder.isEmpty() ? QString() : folder + u'/') +
                             QStringLiteral("_rels/") + name + QStringLiteral(".rels");
    QHash<QString, QString> targets;
    const std::optional<QByteArray> data = archive.entry(relsPath);
    if (!data) {
        return targets;
    }
    QXmlStreamReader xml(*data);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Relationship" &&
            XlsxXml::attribute(xml, "Type").endsWith(typeEnding) &&
            XlsxXml::attribute(xml, "TargetMode") != u"External") {
            targets.insert(XlsxXml::attribute(xml, "Id").toString(),
                           resolve(folder, XlsxXml::attribute(xml, "Target").toString()));
        }
    }
    XlsxXml::check(xml, relsPath);
    return targets;
}

struct SheetPart
{
    QString name;
    QString path;
};

} // namespace

Workbook XlsxReader::read(const QString& path)
{
    ZipArchiveReader archive(path);
    const QHash<QString, QString> root =
        readRelationships(archive, QString(), QStringLiteral("/officeDocument"));
    const QString workbookPart =
        root.isEmpty() ? QStringLiteral("xl/workbook.xml") : root.begin().value();
    const std::optional<QByteArray> workbookXml = archive.entry(workbookPart);
    if (!workbookXml) {
        throw FormatError(QStringLiteral("The file is not a workbook (no workbook part)"));
    }

    const QHash<QString, QString> sheetTargets =
        readRelationships(archive, workbookPart, QStringLiteral("/worksheet"));
    std::vector<SheetPart> parts;
    int activeSheet = 0;
    {
        QXmlStreamReader xml(*workbookXml);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) {
                continue;
            }
            if (xml.name() == u"workbookView") {
                activeSheet = XlsxXml::attribute(xml, "activeTab").toInt();
            } else if (xml.name() == u"sheet") {
                QString id;
                for (const QXmlStreamAttribute& item : xml.attributes()) {
                    if (item.name() == u"id" && !item.namespaceUri().isEmpty()) {
                        id = item.value().toString();
                    }
                }
                const auto target = sheetTargets.constFind(id);
                if (target != sheetTargets.constEnd()) {
                    parts.push_back({XlsxXml::attribute(xml, "name").toString(), target.value()});
                }
            }
        }
        XlsxXml::check(xml, workbookPart);
    }
    if (parts.empty()) {
        throw FormatError(QStringLiteral("The workbook has no worksheet"));
    }

    // Count first: a few kilobytes of package can unpack to more cells and texts than memory
    // holds, and counting costs a fraction of reading.
    const QHash<QString, QString> workbookLinks =
        readRelationships(archive, workbookPart, QStringLiteral("/sharedStrings"));
    const QString stringsPart = workbookLinks.isEmpty() ? QString() : workbookLinks.begin().value();
    int64_t counted = 0;
    const auto count = [&](const QString& part, const char* tag) {
        XmlTagCounter counter(tag);
        archive.streamEntry(part, [&](std::string_view chunk) {
            counter.add(chunk);
            if (counted + counter.count() > WorkbookLimits::kMaxCells) {
                throw FormatError(QStringLiteral(
                    "The workbook is too large: it holds more than 10 million cells"));
            }
        });
        counted += counter.count();
    };
    if (!stringsPart.isEmpty()) {
        count(stringsPart, "si");
    }
    for (const SheetPart& part : parts) {
        count(part.path, "c");
    }

    std::vector<QString> strings;
    if (!stringsPart.isEmpty()) {
        if (const std::optional<QByteArray> data = archive.entry(stringsPart)) {
            QXmlStreamReader xml(*data);
            while (!xml.atEnd()) {
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") {
                    strings.push_back(XlsxXml::richText(xml));
                }
            }
            XlsxXml::check(xml, stringsPart);
        }
    }
    XlsxStyleReader styles;
    const QHash<QString, QString> styleLinks =
        readRelationships(archive, workbookPart, QStringLiteral("/styles"));
    if (!styleLinks.isEmpty()) {
        if (const std::optional<QByteArray> data = archive.entry(styleLinks.begin().value())) {
            styles.read(*data);
        }
    }

    Workbook workbook;
    for (const SheetPart& part : parts) {
        XlsxSheetReader reader(workbook.addSheet(part.name), styles, strings, part.path);
        if (!archive.streamEntry(part.path, [&](std::string_view chunk) { reader.feed(chunk); })) {
            throw FormatError(QStringLiteral("The workbook is damaged: the sheet \"%1\" is missing")
                                  .arg(part.name));
        }
        reader.finish();
    }
    workbook.setActiveSheetIndex(activeSheet);
    return workbook;
}

} // namespace platform::automation::workbook
