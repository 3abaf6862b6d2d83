#include "app/frame/Main.h"

#include "app/frame/MainFrame.h"

namespace app {

void Main()
{
    MainFrame frame;
    frame.run();
}

} // namespace app
