#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A print service of the test's own on 127.0.0.1: cupsd with its configuration, spool and logs
// in a temporary folder of its own (open to the service's filter user), on a free port, with one default queue "office" whose printer writes
// every job's PDF into a file. CUPS_SERVER points at it while it lives, so Qt's printer and the
// runtime reach this service and no other. Stopped and its setting removed when destroyed.
class LoopbackPrintService
{
public:
    LoopbackPrintService();
    ~LoopbackPrintService();
    LoopbackPrintService(const LoopbackPrintService&) = delete;
    LoopbackPrintService& operator=(const LoopbackPrintService&) = delete;

    // Empty when the service runs; otherwise why it does not (the test then skips).
    const std::string& failure() const { return m_failure; }

    static QString queue() { return QStringLiteral("office"); }
    // Where the queue's printer puts the job it printed last.
    std::filesystem::path printedFile() const { return m_folder / "out" / "office.pdf"; }

    // Adds another queue with the same kind of printer, writing into out/<name>.pdf.
    std::string addQueue(const QString& name) const;

    // Runs one of the service's administration programs (cupsreject, lpadmin ...) against it;
    // its output, or the failure in words.
    std::string command(const QString& program, const QStringList& arguments) const;

    struct Job
    {
        int id;
        std::string title; // UTF-8
        bool completed;
    };
    // Every job the queue was given, completed or not.
    std::vector<Job> jobs() const;
    // Waits until every job is completed (false after ten seconds).
    bool waitCompleted() const;

private:
    bool start();

    std::filesystem::path m_folder;
    QString m_server; // "127.0.0.1:port"
    QProcess m_daemon;
    std::string m_failure;
};

} // namespace testsupport
