#pragma once

#include "app/conv/ConversionOutcome.h"

// The price-list conversion: the old price list "priosn.tps" (PRIOSN_S) is copied record by
// record into "priosn1.tps" (PRIOSN_N) while the manufacturer list is rebuilt from it; only a
// run that read and wrote every record puts the new files in place of the old ones.
namespace app {

ConversionOutcome cnvpriosn();

} // namespace app
