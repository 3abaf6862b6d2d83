#include "app/startup/DatabaseVersionCheck.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"

namespace app {

bool PriceListLayoutDiffers()
{
    namespace storage = platform::storage;
    RecordFile& file = PRIOSN();
    const std::string previousName = file.diskName();
    file.setDiskName("priosn.tps");
    bool differs = false;
    if (storage::fileExists(file.diskName())) {
        // Read only and denying nothing: the check must not lock the file or change it.
        const int code = file.open(0x40);
        if (code == 0)
            file.close();
        differs = code == storage::Error::InvalidLayout;
    }
    file.setDiskName(previousName);
    // The check's own error must not be taken for a later operation's.
    storage::clearError();
    return differs;
}

} // namespace app
