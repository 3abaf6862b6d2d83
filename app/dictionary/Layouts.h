#pragma once

#include "platform/storage/Layout.h"

// The field tables and keys of the eleven data files.
namespace app {

platform::storage::FileLayout priosnLayout();
platform::storage::FileLayout priosnNLayout();
platform::storage::FileLayout priosnSLayout();
platform::storage::FileLayout korzakLayout();
platform::storage::FileLayout sprprLayout();
platform::storage::FileLayout proizLayout();
platform::storage::FileLayout sprmanLayout();
platform::storage::FileLayout rekvLayout();
platform::storage::FileLayout rekvNLayout();
platform::storage::FileLayout rekvSLayout();
platform::storage::FileLayout rekvDLayout();

// The owner password of the three requisites files.
inline constexpr const char* RequisitesOwner = "plomvikar";

// Key numbers, in declaration order. The three price-list layouts share the key order.
enum PriosnKey { PR_pokod, PR_poproizv, PR_pogrup, PR_pooboz, PR_ponaim, PR_pocena, PR_poobozn,
                 PR_poprimen };
enum KorzakKey { K_pokod, K_ponaim, K_pooboz, K_poproizv };
enum SprprKey { SP_ponaim };
enum ProizKey { P_ponaim };
enum SprmanKey { SPR_poname };

} // namespace app
