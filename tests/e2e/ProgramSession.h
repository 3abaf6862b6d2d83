#pragma once

#include "platform/ui/TestDriver.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Runs the whole main program while a test driver acts in it, and the record helpers the
// frame tests share.
namespace e2e {

inline constexpr const char* FrameTitle = "Программа заказов ООО \"Автоцентр ТОРН\" (ver 4.1)";

// Starts the driver's commands, runs MainProgram until the frame closes and waits a little for
// the driver to finish; what failed, or "".
std::string runProgram(platform::ui::TestDriver& driver);

// Starts the driver's commands, lets it reach its first wait, runs the procedure (a window that
// runs its own loop, or one started on its own thread, whose boxes and controls the driver
// works) and waits for the driver to finish; what failed, or "".
std::string runAlongside(platform::ui::TestDriver& driver, const std::function<void()>& procedure,
                         int timeoutMs);

// Reference records: name and mark (any byte value).
struct MarkedName
{
    std::string name; // UTF-8
    uint8_t mark;
};
void writeApplicabilityTypes(const std::vector<MarkedName>& records);
void writeManufacturers(const std::vector<MarkedName>& records);
std::vector<uint8_t> applicabilityMarks();
std::vector<uint8_t> manufacturerMarks();

// A state dump without the places of windows and controls (" at x,y size WxH"), for checks
// of texts and states that do not depend on the screen's fonts.
std::string withoutPlaces(const std::string& dump);

// A click on row n (from 1) of a list of the top window, as a person makes it: at the centre of
// the check box drawn in its first column, or on the text of its second column.
void clickListRow(const char* list, int row, bool onIcon);

// The message boxes the driver saw with this caption (UTF-8).
int messagesCaptioned(const platform::ui::TestDriver& driver, const std::string& caption);

} // namespace e2e
