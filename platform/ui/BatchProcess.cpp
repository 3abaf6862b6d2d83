#include "platform/ui/BatchProcess.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/WindowErrorReporter.h"

#include <QElapsedTimer>
#include <QTimer>

#include <utility>

namespace platform::ui {
namespace {

// Records are taken in slices of this many milliseconds, then the window gets its events.
constexpr qint64 kSliceMs = 20;

// A walk that ended other than at its end; a file whose open was refused was said then.
bool failed(int code)
{
    return code != storage::Error::None && code != storage::Error::RecordNotAvailable &&
           code != storage::Error::FileNotOpen;
}

} // namespace

BatchProcess::BatchProcess(NextRecord next, int64_t records)
    : m_next(std::move(next))
    , m_records(records)
{
}

BatchProcess::BatchProcess(storage::View& view)
    : m_next([this, &view] {
          const int code = view.next();
          if (failed(code)) {
              m_walkFailure = code;
              m_walkFailureFile = storage::errorFile();
          }
          return code == 0;
      }),
      m_view(&view)
{
}

int BatchProcess::walkEnded()
{
    if (m_walkFailure == 0)
        return Response::Completed;
    if (m_reporter) {
        m_reporter->reportFileError(m_walkFailure, m_walkFailureFile, "Next");
    } else {
        WindowErrorReporter reporter;
        reporter.reportFileError(m_walkFailure, m_walkFailureFile, "Next");
    }
    return Response::Cancelled;
}

int BatchProcess::run(ProgressWindow& window)
{
    m_walkFailure = 0;
    if (m_view) {
        // The count walks the view too: a failure there ends the process before it starts.
        m_records = m_view->records();
        const int counted = storage::errorCode();
        if (failed(counted)) {
            m_walkFailure = counted;
            m_walkFailureFile = storage::errorFile();
        }
        m_view->setStart();
    }
    m_processed = 0;
    m_response = 0;
    m_finished = false;
    if (m_walkFailure != 0 || !m_next || !m_next()) {
        m_response = walkEnded();
        if (m_response == Response::Completed)
            message(text::w("Нет доступных для процесса записей."), text::w("Нет записей"),
                    MessageIcon::Exclamation);
        release();
        return m_response;
    }

    m_window = &window;
    window.setPercent(0);
    // The first record is in the buffer; the walk starts once the window is up.
    QTimer::singleShot(0, &window, [this] { step(); });
    window.exec();
    if (!m_finished) { // the window was ended from outside the process
        m_finished = true;
        m_response = Response::Cancelled;
    }
    m_window = nullptr;
    release();
    return m_response;
}

void BatchProcess::step()
{
    if (!m_window || m_finished)
        return;
    QElapsedTimer slice;
    slice.start();
    while (!m_finished) {
        if (m_window->cancelRequested()) {
            finish(Response::Cancelled);
            return;
        }
        const int level = takeRecord();
        ++m_processed;
        if (level != Level::Benign) {
            finish(m_response);
            return;
        }
        if (!m_next()) {
            finish(walkEnded());
            return;
        }
        if (slice.elapsed() >= kSliceMs)
            break;
    }
    m_window->setPercent(percentDone());
    QTimer::singleShot(0, m_window, [this] { step(); });
}

void BatchProcess::finish(int response)
{
    m_finished = true;
    m_response = response;
    if (response == Response::Completed)
        m_window->setPercent(100);
    m_window->done(response);
}

int BatchProcess::percentDone() const
{
    if (m_records <= 0)
        return 0;
    // A walk that gives more records than expected stays below 100 until it ends.
    if (m_processed >= m_records)
        return 99;
    return static_cast<int>(m_processed * 100 / m_records);
}

} // namespace platform::ui
