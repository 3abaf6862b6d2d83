#pragma once

#include "app/procman/ReferenceListWindow.h"

#include <cstdint>
#include <memory>

// The managers' reference list ("Справочник менеджеров") over SPRMAN. One copy at a time: a
// second start brings the open one to the front and opens nothing.
namespace app {

// The thread of the open managers window; 0 when none is open.
extern int32_t ProcmanThread;

class Procman : public ReferenceListWindow
{
public:
    Procman();

    int kill() override;
    int takeWindowEvent() override;

protected:
    bool admit() override;

private:
    bool m_owner = false;
};

std::unique_ptr<platform::ui::WindowController> procman();

} // namespace app
