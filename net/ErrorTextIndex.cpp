#include "net/ErrorTextIndex.h"

namespace net {

platform::storage::Queue<ErrorTextIndexEntry>& errorTextIndex()
{
    static platform::storage::Queue<ErrorTextIndexEntry> index;
    return index;
}

} // namespace net
