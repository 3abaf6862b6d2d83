#include "app/dictionary/Layouts.h"

#include "app/dictionary/Records.h"

namespace app {
namespace {

using platform::storage::FileLayout;
using platform::storage::LayoutBuilder;

// The price-list keys: by code unique, the other seven with duplicates; all no case, optional.
template <typename Record>
void addPriceKeys(LayoutBuilder<Record>& builder)
{
    const typename LayoutBuilder<Record>::KeyAttributes unique{true, true, true, false};
    const typename LayoutBuilder<Record>::KeyAttributes duplicates{false, true, true, false};
    builder.key("pokod", {"KOD"}, unique)
        .key("poproizv", {"PROIZV"}, duplicates)
        .key("pogrup", {"GRUP"}, duplicates)
        .key("pooboz", {"OBOZ"}, duplicates)
        .key("ponaim", {"NAIM"}, duplicates)
        .key("pocena", {"CENA"}, duplicates)
        .key("poobozn", {"OBOZ"}, duplicates)
        .key("poprimen", {"PRIMEN"}, duplicates);
}

template <typename Record>
void addPriceFields(LayoutBuilder<Record>& builder)
{
    builder.field("KOD", &Record::KOD)
        .field("OBOZ", &Record::OBOZ)
        .field("NAIM", &Record::NAIM)
        .field("PRIMEN", &Record::PRIMEN)
        .field("CENA", &Record::CENA)
        .field("PROIZV", &Record::PROIZV)
        .field("GRUP", &Record::GRUP)
        .field("KOLVUP", &Record::KOLVUP)
        .field("KODCENA", &Record::KODCENA);
}

template <typename Record>
FileLayout requisitesLayout(const char* label, const char* prefix)
{
    LayoutBuilder<Record> builder(label, prefix);
    builder.field("NAIM", &Record::NAIM)
        .field("ADR", &Record::ADR)
        .field("TEL", &Record::TEL)
        .field("EMAIL", &Record::EMAIL)
        .field("KONT", &Record::KONT)
        .field("BANKNAIM", &Record::BANKNAIM)
        .field("BIK", &Record::BIK)
        .field("RS", &Record::RS)
        .field("KS", &Record::KS)
        .field("INN", &Record::INN)
        .field("KOMM", &Record::KOMM)
        .field("PROXYADR", &Record::PROXYADR)
        .field("PROXYPORT", &Record::PROXYPORT)
        .field("USERNAME", &Record::USERNAME)
        .field("USERPASS", &Record::USERPASS)
        .field("FOTOKAT", &Record::FOTOKAT)
        .owner(RequisitesOwner);
    return builder.build();
}

} // namespace

FileLayout priosnLayout()
{
    LayoutBuilder<PriosnRecord> builder("PRIOSN", "PR");
    addPriceFields(builder);
    builder.field("KOD2", &PriosnRecord::KOD2).field("VES", &PriosnRecord::VES);
    addPriceKeys(builder);
    return builder.build();
}

FileLayout priosnNLayout()
{
    LayoutBuilder<PriosnNRecord> builder("PRIOSN_N", "PRN");
    addPriceFields(builder);
    builder.field("KOD2", &PriosnNRecord::KOD2);
    addPriceKeys(builder);
    return builder.build();
}

FileLayout priosnSLayout()
{
    LayoutBuilder<PriosnSRecord> builder("PRIOSN_S", "PRS");
    addPriceFields(builder);
    addPriceKeys(builder);
    return builder.build();
}

FileLayout korzakLayout()
{
    const LayoutBuilder<KorzakRecord>::KeyAttributes duplicates{false, true, false, false};
    return LayoutBuilder<KorzakRecord>("KORZAK", "K")
        .field("KOD", &KorzakRecord::KOD)
        .field("OBOZ", &KorzakRecord::OBOZ)
        .field("NAIM", &KorzakRecord::NAIM)
        .field("KOL", &KorzakRecord::KOL)
        .field("CENA", &KorzakRecord::CENA)
        .field("SUMMA", &KorzakRecord::SUMMA)
        .field("PROIZV", &KorzakRecord::PROIZV)
        .field("UPAK", &KorzakRecord::UPAK)
        .key("pokod", {"KOD"}, {true, true, true, false})
        .key("ponaim", {"NAIM"}, duplicates)
        .key("pooboz", {"OBOZ"}, duplicates)
        .key("poproizv", {"PROIZV"}, duplicates)
        .build();
}

FileLayout sprprLayout()
{
    return LayoutBuilder<SprprRecord>("SPRPR", "SP")
        .field("NAIM", &SprprRecord::NAIM)
        .field("M", &SprprRecord::M)
        .key("ponaim", {"NAIM"}, {true, true, true, true})
        .build();
}

FileLayout proizLayout()
{
    return LayoutBuilder<ProizRecord>("PROIZ", "P")
        .field("NAIM", &ProizRecord::NAIM)
        .field("M", &ProizRecord::M)
        .key("ponaim", {"NAIM"}, {true, true, true, false})
        .build();
}

FileLayout sprmanLayout()
{
    return LayoutBuilder<SprmanRecord>("SPRMAN", "SPR")
        .field("NAME", &SprmanRecord::NAME)
        .field("KMAIL", &SprmanRecord::KMAIL)
        .key("poname", {"NAME", "KMAIL"}, {true, true, true, false})
        .build();
}

FileLayout rekvLayout() { return requisitesLayout<RekvRecord>("REKV", "REK"); }
FileLayout rekvNLayout() { return requisitesLayout<RekvNRecord>("REKV_N", "REN"); }
FileLayout rekvSLayout() { return requisitesLayout<RekvSRecord>("REKV_S", "RES"); }

FileLayout rekvDLayout()
{
    return LayoutBuilder<RekvDRecord>("REKV_D", "REKD")
        .field("SITENAME", &RekvDRecord::SITENAME)
        .field("SITEPORT", &RekvDRecord::SITEPORT)
        .field("DOP1", &RekvDRecord::DOP1)
        .field("DOP2", &RekvDRecord::DOP2)
        .build();
}

} // namespace app
