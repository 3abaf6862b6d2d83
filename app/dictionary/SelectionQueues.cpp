#include "app/dictionary/SelectionQueues.h"

namespace app {

platform::storage::Queue<Q1Entry>& Q1()
{
    static platform::storage::Queue<Q1Entry> queue;
    return queue;
}

platform::storage::Queue<Q2Entry>& Q2()
{
    static platform::storage::Queue<Q2Entry> queue;
    return queue;
}

} // namespace app
