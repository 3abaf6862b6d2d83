#pragma once

#include "app/conv/ConversionOutcome.h"

// The requisites conversion: the old requisites "rekv.tps" (REKV_S, a 50-byte photo folder) are
// copied into REKV_N; only a run that read and wrote every record puts the new file in place of
// the old one.
namespace app {

ConversionOutcome cnvrekv();

} // namespace app
