#include "platform/ui/PrintQueue.h"

#include "platform/text/Cp1251.h"

#include <cups/cups.h>

#include <string_view>

namespace platform::ui {
namespace {

std::string optionOf(const cups_dest_t& dest, const char* name)
{
    const char* value = cupsGetOption(name, dest.num_options, dest.options);
    return value ? value : "";
}

// The service's own words (UTF-8) after ours, when it gave any.
std::string withServiceText(const std::string& ours, const std::string& theirs)
{
    if (theirs.empty())
        return ours;
    return ours + " (" + text::utf8ToCp1251(theirs) + ")";
}

// What the printer's administrator or the printer said of its state ("Бумага кончилась").
std::string stateMessage(const std::string& uri)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state-message");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    std::string message;
    if (response) {
        if (ipp_attribute_t* found =
                ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT))
            if (const char* value = ippGetString(found, 0, nullptr))
                message = value;
        ippDelete(response);
    }
    return message;
}

bool serviceReachable()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                5000, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
}

std::string lastServiceError()
{
    const char* message = cupsLastErrorString();
    return message ? message : ippErrorString(cupsLastError());
}

} // namespace

PrintQueue::PrintQueue(std::string name) : m_queue(std::move(name))
{
    const std::size_t slash = m_queue.find('/');
    if (slash != std::string::npos)
        m_queue.resize(slash);
}

std::string PrintQueue::refusal() const
{
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, m_queue.c_str(), nullptr);
    if (!dest) {
        // The library says "no such printer" also when it reached no service at all.
        if (!serviceReachable())
            return text::w("служба печати недоступна");
        return text::w("такой очереди печати нет");
    }
    std::string result;
    const bool accepting = optionOf(*dest, "printer-is-accepting-jobs") != "false";
    const bool stopped = optionOf(*dest, "printer-state") == std::to_string(IPP_PSTATE_STOPPED);
    if (!accepting || stopped) {
        const std::string message = stateMessage(optionOf(*dest, "printer-uri-supported"));
        result = withServiceText(
            text::w(accepting ? "принтер остановлен" : "принтер не принимает задания"), message);
    }
    cupsFreeDests(1, dest);
    return result;
}

int PrintQueue::newestJob() const
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, m_queue.c_str(), 1,
                                   CUPS_WHICHJOBS_ALL);
    int newest = 0;
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > newest)
            newest = jobs[i].id;
    cupsFreeJobs(count, jobs);
    return newest;
}

void PrintQueue::noteJobs()
{
    m_newestBefore = newestJob();
}

std::string PrintQueue::jobRefusal(const std::string& title)
{
    // Qt's printer and this class share the client library, whose last status is the
    // handing over's.
    const ipp_status_t status = cupsLastError();
    const std::string serviceText = lastServiceError();
    if (status > IPP_STATUS_OK_EVENTS_COMPLETE)
        return withServiceText(text::w("очередь не приняла задание"), serviceText);
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, m_queue.c_str(), 1,
                                   CUPS_WHICHJOBS_ALL);
    // The service lists at most this many jobs; a job past them cannot be looked for.
    constexpr int kListedJobs = 500;
    std::string result =
        count >= kListedJobs ? std::string() : text::w("задание не появилось в очереди");
    const std::string utf8Title = text::cp1251ToUtf8(title);
    for (int i = 0; i < count; ++i) {
        const cups_job_t& job = jobs[i];
        if (job.id <= m_newestBefore || !job.title || utf8Title != job.title)
            continue;
        result.clear();
        if (job.state == IPP_JSTATE_ABORTED)
            result = text::w("задание прервано");
        else if (job.state == IPP_JSTATE_CANCELED)
            result = text::w("задание отменено");
    }
    cupsFreeJobs(count, jobs);
    return result;
}

} // namespace platform::ui
