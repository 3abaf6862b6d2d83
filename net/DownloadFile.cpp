#include "net/DownloadFile.h"

namespace net {

platform::storage::ByteFile& downloadFile()
{
    static platform::storage::ByteFile file(DownloadRecordSize);
    return file;
}

} // namespace net
