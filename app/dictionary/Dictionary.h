#pragma once

#include "app/dictionary/Layouts.h"
#include "app/dictionary/Records.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/RecordFileManager.h"

// The data dictionary: the eleven data files, one file manager and one relation per file, and
// the program's error reporter. Windows open and close their files through the relations.
namespace app {

using platform::storage::FileRelation;
using platform::storage::RecordFile;
using platform::storage::RecordFileManager;

RecordFile& PRIOSN();
RecordFile& PRIOSN_N();
RecordFile& PRIOSN_S();
RecordFile& KORZAK();
RecordFile& SPRPR();
RecordFile& PROIZ();
RecordFile& SPRMAN();
RecordFile& REKV();
RecordFile& REKV_N();
RecordFile& REKV_S();
RecordFile& REKV_D();

// The calling thread's record buffers.
inline PriosnRecord& PR() { return PRIOSN().record<PriosnRecord>(); }
inline PriosnNRecord& PRN() { return PRIOSN_N().record<PriosnNRecord>(); }
inline PriosnSRecord& PRS() { return PRIOSN_S().record<PriosnSRecord>(); }
inline KorzakRecord& K() { return KORZAK().record<KorzakRecord>(); }
inline SprprRecord& SP() { return SPRPR().record<SprprRecord>(); }
inline ProizRecord& P() { return PROIZ().record<ProizRecord>(); }
inline SprmanRecord& SPR() { return SPRMAN().record<SprmanRecord>(); }
inline RekvRecord& REK() { return REKV().record<RekvRecord>(); }
inline RekvNRecord& REN() { return REKV_N().record<RekvNRecord>(); }
inline RekvSRecord& RES() { return REKV_S().record<RekvSRecord>(); }
inline RekvDRecord& REKD() { return REKV_D().record<RekvDRecord>(); }

// The managers: set by DictionaryInit, null before it and after DictionaryKill.
extern RecordFileManager* AccessPRIOSN;
extern RecordFileManager* AccessPRIOSN_N;
extern RecordFileManager* AccessPRIOSN_S;
extern RecordFileManager* AccessKORZAK;
extern RecordFileManager* AccessSPRPR;
extern RecordFileManager* AccessPROIZ;
extern RecordFileManager* AccessSPRMAN;
extern RecordFileManager* AccessREKV;
extern RecordFileManager* AccessREKV_N;
extern RecordFileManager* AccessREKV_S;
extern RecordFileManager* AccessREKV_D;

extern FileRelation* RelatePRIOSN;
extern FileRelation* RelatePRIOSN_N;
extern FileRelation* RelatePRIOSN_S;
extern FileRelation* RelateKORZAK;
extern FileRelation* RelateSPRPR;
extern FileRelation* RelatePROIZ;
extern FileRelation* RelateSPRMAN;
extern FileRelation* RelateREKV;
extern FileRelation* RelateREKV_N;
extern FileRelation* RelateREKV_S;
extern FileRelation* RelateREKV_D;

platform::storage::ErrorReporter& GlobalErrors();

void DictionaryInit();
void DictionaryKill();

} // namespace app
