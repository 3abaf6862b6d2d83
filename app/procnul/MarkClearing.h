#pragma once

#include "platform/ui/BatchProcess.h"

#include <functional>

// The batch that walks one reference file in physical order and clears the selection mark of
// every record, one PUT per record.
namespace app {

class MarkClearing : public platform::ui::BatchProcess
{
public:
    // handler: the per-record operation, with the record in the file's buffer.
    using RecordHandler = std::function<int(MarkClearing&)>;

    MarkClearing(platform::storage::View& view, RecordHandler handler);

protected:
    int takeRecord() override { return m_handler(*this); }

private:
    RecordHandler m_handler;
};

} // namespace app
