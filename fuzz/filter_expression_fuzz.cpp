// Filter expressions as the price list's views use them: the text compiled against the price
// list's fields and the window's bound variables, evaluated record by record, and translated
// for the storage engine. Both ways of deciding must give the same records.
#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "fuzz/support/FuzzCheck.h"
#include "fuzz/support/FuzzTempFolder.h"
#include "platform/storage/Bindings.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterExpression.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

using app::PriosnRecord;
using fuzzsupport::require;
using platform::storage::Bindings;
using platform::storage::FilterExpression;
using platform::storage::FilterScope;
using platform::storage::RecordFile;
using platform::storage::View;
using platform::text::FixedString;
using platform::text::w;

namespace {

PriosnRecord price(int32_t code, std::string_view name, int32_t secondCode,
                   std::string_view designation, std::string_view applicability,
                   std::string_view maker, std::string_view group, double cost)
{
    PriosnRecord r{};
    r.KOD = code;
    r.NAIM = w(name);
    r.KOD2 = secondCode;
    r.OBOZ = w(designation);
    r.PRIMEN = w(applicability);
    r.PROIZV = w(maker);
    r.GRUP = w(group);
    r.CENA = cost;
    r.VES = cost / 10;
    r.KOLVUP = static_cast<int16_t>(code % 7);
    r.KODCENA = static_cast<uint8_t>(code % 3);
    return r;
}

// Texts and numbers where the two ways could part: case, Ё, blanks, zero codes, numbers as text.
std::vector<PriosnRecord> records()
{
    return {
        price(30512, "Свеча зажигания", 0, "BP6ES", "ВАЗ 2101", "Искра", "Зажигание", 95.5),
        price(305, "фильтр масляный", 0, "W 914/2", "ваз, газ", "Фильтр-М", "Фильтры", 12.5),
        price(7, "Колодка тормозная", 3105, "", "", "", "", 0),
        price(1305, "Фильтр воздушный ", 305, "0305", "ГАЗ", "фильтр-м", "фильтры", -1),
        price(3105, "Ёлочка", 7, "  E", "ёлка", "", "ГР", 1e300),
        price(0, "", 0, "", "", "", "", 0),
        price(0, "  Пробел впереди", 30512, "305", "", "", "", 0.005),
        price(-40, "ёлка искусственная", 0, "12", "Ёлка", "Ёж", "гр", 3),
        price(2147483647, "~'\"%_", -2147483647, "100%", "_", "'", "\\", 2.5e-5),
    };
}

// The price window's variables that its filters name.
struct Variables
{
    int32_t ks = 305;
    FixedString<50> kodstr2{w("ф")};
    FixedString<50> kodstr3;
    FixedString<200> kodstr4{w("ваз")};
    FixedString<50> kodstr5{w(" ")};
    FixedString<30> kodstr6{w("Ё")};
    uint8_t fk = 0;
    int32_t k1 = 305;
    int32_t k2 = 0;
    FixedString<50> pz;
    uint8_t v = 1;
    double ve = 12.5;
    int16_t kol = -3;
    char note[16] = "zero ended";

    void bindTo(Bindings& bindings) const
    {
        bindings.bind("ks", ks);
        bindings.bind("kodstr2", kodstr2);
        bindings.bind("kodstr3", kodstr3);
        bindings.bind("kodstr4", kodstr4);
        bindings.bind("kodstr5", kodstr5);
        bindings.bind("kodstr6", kodstr6);
        bindings.bind("fk", fk);
        bindings.bind("k1", k1);
        bindings.bind("k2", k2);
        bindings.bind("pz", pz);
        bindings.bind("v", v);
        bindings.bind("ve", ve);
        bindings.bind("kol", kol);
        bindings.bind("note", note, sizeof note);
    }
};

// Two copies of the price list: one whose views let the storage engine decide, one whose
// views evaluate every record themselves.
struct Fixture
{
    Fixture()
    {
        variables.bindTo(bindings);
        inStorage.setDiskName((fuzzsupport::FuzzTempFolder::path() / "instorage.tps").string());
        evaluated.setDiskName((fuzzsupport::FuzzTempFolder::path() / "evaluated.tps").string());
        for (RecordFile* file : {&inStorage, &evaluated}) {
            if (file->create() != 0 || file->open(0x22) != 0)
                std::abort();
            for (const PriosnRecord& record : all) {
                file->record<PriosnRecord>() = record;
                if (file->add() != 0)
                    std::abort();
            }
        }
    }

    platform::storage::FileLayout layout = app::priosnLayout();
    // The engine keeps a prepared statement for every condition it met: the program has a
    // handful, a fuzzer no end of them. Opening the files afresh now and then lets them go.
    void reopenNowAndThen()
    {
        if (++runs % 4096 != 0)
            return;
        for (RecordFile* file : {&inStorage, &evaluated})
            if (file->close() != 0 || file->open(0x22) != 0)
                std::abort();
    }

    uint64_t runs = 0;
    std::vector<PriosnRecord> all = records();
    Variables variables;
    Bindings bindings;
    RecordFile inStorage{app::priosnLayout()};
    RecordFile evaluated{app::priosnLayout()};
};

// The codes of the passing records; a walk goes on to the end of the file, never fails.
std::vector<int32_t> walk(View& view, RecordFile& file, bool forward)
{
    std::vector<int32_t> codes;
    require((forward ? view.setStart() : view.setEnd()) == 0, "a walk starts");
    int code = 0;
    while ((code = forward ? view.next() : view.previous()) == 0)
        codes.push_back(int32_t{file.record<PriosnRecord>().KOD});
    require(code == platform::storage::Error::RecordNotAvailable,
            "a walk ends at the end of the file");
    return codes;
}

// The same filter decided both ways, in one of the keys' orders.
void compareWalks(Fixture& fixture, std::string_view text, int key, bool forward)
{
    View inStorage(fixture.inStorage, key);
    View evaluated(fixture.evaluated, key);
    const int compiled = inStorage.setFilter(text, &fixture.bindings);
    require(evaluated.setFilter(text, &fixture.bindings) == compiled,
            "a text compiles the same for every view");
    evaluated.setFilterInStorage(false);
    require(walk(inStorage, fixture.inStorage, forward) ==
                walk(evaluated, fixture.evaluated, forward),
            "the storage engine passes the records the evaluator passes");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Fixture fixture;
    fixture.reopenNowAndThen();
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Evaluated over each record, as a condition and as a value.
    PriosnRecord record{};
    FilterScope scope(&fixture.bindings);
    scope.addRecord(fixture.layout, reinterpret_cast<const std::byte*>(&record));
    FilterExpression expression;
    const int compiled = expression.compile(text, scope);
    require(compiled == 0 || compiled == 800 || compiled == 801, "a text compiles or is refused");
    for (const PriosnRecord& each : fixture.all) {
        record = each;
        (void)expression.matches();
        (void)expression.value();
    }
    if (compiled != 0 || expression.isEmpty())
        return 0;

    compareWalks(fixture, text, -1, true);
    compareWalks(fixture, text, app::PR_ponaim, false);
    return 0;
}
