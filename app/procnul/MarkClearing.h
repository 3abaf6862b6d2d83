#pragma once

#include "platform/ui/BatchProcess.h"

#include <functional>

// The batch that walks one reference file in physical order and clears the selection mark of
// every record, one PUT per record (the caller brackets the run in one stream).
namespace app {

class MarkClearing : public platform::ui::BatchProcess
{
public:
    // handler: the per-record operation, with the record in the file's buffer.
    using RecordHandler = std::function<int(MarkClearing&)>;

    MarkClearing(platform::storage::View& view, RecordHandler handler);

    // A write failed and was reported: the batch stops and nothing more is said of it.
    void noteFailure() { m_failed = true; }
    bool failed() const { return m_failed; }

protected:
    int takeRecord() override { return m_handler(*this); }

private:
    RecordHandler m_handler;
    bool m_failed = false;
};

} // namespace app
