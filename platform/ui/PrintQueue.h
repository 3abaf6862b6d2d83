#pragma once

#include <string>

// A printer queue of the system's print service, asked whether it can take a job and whether
// the job handed to it arrived. Qt's printer hands a job over without a word when the service
// refuses it, so the runtime asks the service itself. The reasons it gives are Windows-1251.
namespace platform::ui {

class PrintQueue
{
public:
    // `name` is the printer's name as Qt gives it, in UTF-8 ("office", "office/duplex" for an
    // instance).
    explicit PrintQueue(std::string name);

    // Why the queue cannot take a job now (empty when it can): it does not exist, refuses jobs,
    // is stopped, or the print service cannot be reached.
    std::string refusal() const;

    // Notes the queue's newest job before a job is handed over.
    void noteJobs();
    // After a job was handed over: empty when the service took it; otherwise why it did not.
    // Must be called right after the handing over, before any other call to the service.
    // `title` is the job's name (Windows-1251).
    std::string jobRefusal(const std::string& title);

private:
    int newestJob() const;

    std::string m_queue; // the name without the instance
    int m_newestBefore = 0;
};

} // namespace platform::ui
