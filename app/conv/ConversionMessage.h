#pragma once

#include "app/conv/ConversionOutcome.h"

#include <string>

// The text of the message that ends the data conversion (Windows-1251): completed only when
// both files were converted or needed no conversion, with a line for each file that was not
// converted and why.
namespace app {

std::string ConversionMessage(const ConversionOutcome& price, const ConversionOutcome& requisites);

} // namespace app
