#pragma once

#include <cstdint>
#include <functional>
#include <string>

// A batch process: walks records one at a time with a progress window showing how far it got.
// A derived class supplies the per-record operation (takeRecord) and may add a release step
// that runs when the window has closed. The window stays responsive while the process runs, so
// its cancel button stops the walk between two records.
namespace platform::storage {
class ErrorReporter;
class View;
} // namespace platform::storage

namespace platform::ui {

class ProgressWindow;

class BatchProcess
{
public:
    // Brings the next record into its file's buffer; false past the last one.
    using NextRecord = std::function<bool()>;

    // records: how many the walk is expected to give, for the percentage (0 if unknown).
    BatchProcess(NextRecord next, int64_t records);
    // Walks the view from its start, with the percentage against the records that pass it
    // (counted when the run starts).
    explicit BatchProcess(storage::View& view);
    virtual ~BatchProcess() = default;
    BatchProcess(const BatchProcess&) = delete;
    BatchProcess& operator=(const BatchProcess&) = delete;

    // Runs the whole process with the window shown modally and returns the response:
    // Response::Completed after the last record, Response::Cancelled after a cancel, and after a
    // stop whatever response the operation set (0 when it set none). Without any record the
    // window is not shown: a message box "Нет записей" says so and the response is Completed.
    // A walk of a view that fails (a damaged file) is reported and ends the process with
    // Response::Cancelled.
    int run(ProgressWindow& window);
    // Where a failed walk is reported (without one: a message box of its own).
    void setErrorReporter(storage::ErrorReporter* reporter) { m_reporter = reporter; }

    int response() const { return m_response; }
    void setResponse(int response) { m_response = response; }
    int64_t processed() const { return m_processed; }
    // The window of the running process (null outside run()).
    ProgressWindow* window() const { return m_window; }

protected:
    // Called with each record in the buffer. Level::Benign goes on; any other level stops the
    // process after this record.
    virtual int takeRecord() = 0;
    // Called once when the process has ended and its window has closed.
    virtual void release() {}
    // How far the walk is, 0..100: by default the records taken against the expected count; a
    // process may measure it otherwise (by a numeric field of the record, say).
    virtual int percentDone() const;

private:
    void step();
    void finish(int response);
    // The walk ended: Completed at its end, Cancelled (reported) when it failed.
    int walkEnded();

    NextRecord m_next;
    storage::View* m_view = nullptr;
    storage::ErrorReporter* m_reporter = nullptr;
    int m_walkFailure = 0;
    std::string m_walkFailureFile;
    int64_t m_records = 0;
    int64_t m_processed = 0;
    int m_response = 0;
    bool m_finished = false;
    ProgressWindow* m_window = nullptr;
};

} // namespace platform::ui
