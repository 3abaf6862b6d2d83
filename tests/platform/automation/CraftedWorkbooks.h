#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <functional>

// Small workbook packages whose parts unpack to much more than they weigh: what a careless or
// hostile program may hand the reader.
namespace craftedworkbooks {

// Writes into one part, chunk by chunk, so a part of hundreds of megabytes is never held whole.
using PartWriter = std::function<void(const std::function<void(const QByteArray&)>& write)>;

inline bool addPart(zipFile archive, const char* name, const PartWriter& content)
{
    zip_fileinfo info{};
    if (zipOpenNewFileInZip64(archive, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_BEST_COMPRESSION, 1) != ZIP_OK)
        return false;
    bool written = true;
    content([&](const QByteArray& chunk) {
        written = written && zipWriteInFileInZip(archive, chunk.constData(),
                                                 static_cast<unsigned>(chunk.size())) == ZIP_OK;
    });
    return zipCloseFileInZip(archive) == ZIP_OK && written;
}

// unit count times, a megabyte at a time.
inline void writeRepeated(const std::function<void(const QByteArray&)>& write,
                          const QByteArray& unit, int64_t count)
{
    if (unit.isEmpty() || count <= 0)
        return;
    const int64_t perBlock = std::max<int64_t>(1, (1 << 20) / unit.size());
    const QByteArray block = unit.repeated(static_cast<qsizetype>(std::min(perBlock, count)));
    int64_t left = count;
    for (; left >= perBlock; left -= perBlock)
        write(block);
    if (left > 0)
        write(unit.repeated(static_cast<qsizetype>(left)));
}

inline PartWriter fixed(const QByteArray& text)
{
    return [text](const auto& write) { write(text); };
}

// A workbook of one sheet: the sheet part is head, body repeated count times, tail; the shared
// strings part (when given) likewise.
inline bool writeWorkbook(const QString& path, const QByteArray& sheetHead, const QByteArray& unit,
                          int64_t count, const QByteArray& sheetTail,
                          const PartWriter& sharedStrings = {})
{
    zipFile archive = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!archive)
        return false;
    const QByteArray rels =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"r1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    QByteArray bookRels =
        "<?xml version=\"1.0\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
        "Id=\"s1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (sharedStrings)
        bookRels +=
            "<Relationship Id=\"t1\" Type=\"http://schemas.openxmlformats.org/"
            "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    bookRels += "</Relationships>";
    const QByteArray book =
        "<?xml version=\"1.0\"?><workbook "
        "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
        "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"s1\"/></sheets></workbook>";
    bool ok = addPart(archive, "_rels/.rels", fixed(rels)) &&
              addPart(archive, "xl/_rels/workbook.xml.rels", fixed(bookRels)) &&
              addPart(archive, "xl/workbook.xml", fixed(book));
    if (sharedStrings)
        ok = ok && addPart(archive, "xl/sharedStrings.xml", sharedStrings);
    ok = ok && addPart(archive, "xl/worksheets/sheet1.xml", [&](const auto& write) {
             write("<?xml version=\"1.0\"?><worksheet "
                   "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" +
                   sheetHead);
             writeRepeated(write, unit, count);
             write(sheetTail + "</worksheet>");
         });
    return zipClose(archive, nullptr) == ZIP_OK && ok;
}

} // namespace craftedworkbooks
