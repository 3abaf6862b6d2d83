#pragma once

#include "platform/text/FixedString.h"

#include <cstdint>

// The records of the data files, packed in field order with no gaps; member names are the
// field names after the prefix (PR:KOD is Priosn::KOD).
namespace app {

using platform::text::FixedString;

#pragma pack(push, 1)

struct PriosnRecord
{
    int32_t KOD;
    FixedString<50> OBOZ;
    FixedString<50> NAIM;
    FixedString<200> PRIMEN;
    double CENA;
    FixedString<50> PROIZV;
    FixedString<50> GRUP;
    int16_t KOLVUP;
    uint8_t KODCENA;
    int32_t KOD2;
    double VES;
};

// Version 3.0 price list: PRIOSN without the weight.
struct PriosnNRecord
{
    int32_t KOD;
    FixedString<50> OBOZ;
    FixedString<50> NAIM;
    FixedString<200> PRIMEN;
    double CENA;
    FixedString<50> PROIZV;
    FixedString<50> GRUP;
    int16_t KOLVUP;
    uint8_t KODCENA;
    int32_t KOD2;
};

// Version 2.0 price list: a 50-byte applicability, no second code, no weight.
struct PriosnSRecord
{
    int32_t KOD;
    FixedString<50> OBOZ;
    FixedString<50> NAIM;
    FixedString<50> PRIMEN;
    double CENA;
    FixedString<50> PROIZV;
    FixedString<50> GRUP;
    int16_t KOLVUP;
    uint8_t KODCENA;
};

struct KorzakRecord
{
    int32_t KOD;
    FixedString<50> OBOZ;
    FixedString<50> NAIM;
    int16_t KOL;
    double CENA;
    double SUMMA;
    FixedString<50> PROIZV;
    int32_t UPAK;
};

struct SprprRecord
{
    FixedString<100> NAIM;
    uint8_t M;
};

struct ProizRecord
{
    FixedString<50> NAIM;
    uint8_t M;
};

struct SprmanRecord
{
    FixedString<50> NAME;
    FixedString<30> KMAIL;
};

// REKV and REKV_N share this layout; REKV_S has a 50-byte photo folder.
template <std::size_t PhotoFolderSize>
struct RequisitesRecord
{
    FixedString<100> NAIM;
    FixedString<200> ADR;
    FixedString<50> TEL;
    FixedString<50> EMAIL;
    FixedString<50> KONT;
    FixedString<100> BANKNAIM;
    FixedString<9> BIK;
    FixedString<20> RS;
    FixedString<20> KS;
    FixedString<12> INN;
    FixedString<250> KOMM;
    FixedString<20> PROXYADR;
    int32_t PROXYPORT;
    FixedString<30> USERNAME;
    FixedString<30> USERPASS;
    FixedString<PhotoFolderSize> FOTOKAT;
};

using RekvRecord = RequisitesRecord<250>;
using RekvNRecord = RequisitesRecord<250>;
using RekvSRecord = RequisitesRecord<50>;

struct RekvDRecord
{
    FixedString<200> SITENAME;
    int32_t SITEPORT;
    FixedString<200> DOP1;
    int32_t DOP2;
};

#pragma pack(pop)

static_assert(sizeof(PriosnRecord) == 427);
static_assert(sizeof(PriosnNRecord) == 419);
static_assert(sizeof(PriosnSRecord) == 265);
static_assert(sizeof(KorzakRecord) == 176);
static_assert(sizeof(SprprRecord) == 101);
static_assert(sizeof(ProizRecord) == 51);
static_assert(sizeof(SprmanRecord) == 80);
static_assert(sizeof(RekvRecord) == 1195);
static_assert(sizeof(RekvSRecord) == 995);
static_assert(sizeof(RekvDRecord) == 408);

} // namespace app
