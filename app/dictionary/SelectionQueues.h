#pragma once

#include "platform/storage/Queue.h"
#include "platform/text/FixedString.h"

// The two global queues of selected names, shared by every window of the program.
namespace app {

#pragma pack(push, 1)
struct Q1Entry
{
    platform::text::FixedString<100> N; // an upper-cased applicability-type name
};
struct Q2Entry
{
    platform::text::FixedString<50> N; // a manufacturer name
};
#pragma pack(pop)

platform::storage::Queue<Q1Entry>& Q1();
platform::storage::Queue<Q2Entry>& Q2();

} // namespace app
