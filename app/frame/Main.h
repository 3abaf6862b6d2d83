#pragma once

// The frame window: runs until the user closes it; its response is left in LastResponse.
namespace app {

void Main();

} // namespace app
