#pragma once

#include "platform/ui/WindowController.h"

#include <cstdint>
#include <memory>

namespace platform::storage {
class FileRelation;
}

// The settings window: the customer's requisites (REKV), the photo folder, the proxy and the
// price-list download site (REKV_D). Its fields edit the thread's record buffers directly;
// "Сохранить" writes them. Only one runs at a time.
namespace app {

// The thread of the running settings window; 0 when none runs.
extern int32_t UstanThread;

class Ustan : public platform::ui::WindowController
{
public:
    Ustan();

    int init() override;
    int kill() override;
    int takeAccepted() override;
    int takeWindowEvent() override;

private:
    bool openRecovered(platform::storage::FileRelation& relation);
    bool readFirstRecord(platform::storage::FileRelation& relation, bool& opened);
    void save();
    void choosePhotoFolder();

    bool m_ownsThreadMark = false;
    bool m_rekvOpened = false;
    bool m_siteOpened = false;
};

// The procedure as the frame starts it on a thread of its own.
std::unique_ptr<platform::ui::WindowController> ustan();

} // namespace app
