#include "platform/storage/ContainsCopyBuild.h"

#include "platform/storage/BackgroundScan.h"

namespace platform::storage {

ContainsCopyBuild::ContainsCopyBuild(std::unique_ptr<BackgroundScan> scan, BackgroundQueue& queue)
    : m_scan(std::move(scan))
{
    m_ticket = queue.add([this] { run(); });
}

ContainsCopyBuild::~ContainsCopyBuild()
{
    stop();
    if (!m_ticket->withdraw())
        m_ticket->wait();
}

void ContainsCopyBuild::stop()
{
    m_scan->stop();
}

std::optional<ContainsCopy> ContainsCopyBuild::take()
{
    if (m_ticket->withdraw())
        return std::nullopt;
    m_ticket->wait();
    std::optional<ContainsCopy> copy = std::move(m_copy);
    m_copy.reset();
    return copy;
}

void ContainsCopyBuild::run()
{
    std::optional<ContainsCopyMaker> maker;
    bool fits = true;
    const BackgroundScan::Result result =
        m_scan->run([&](int64_t expected) { maker.emplace(expected); },
                    [&](int64_t position, std::string_view text) {
                        fits = maker->add(position, text);
                        return fits;
                    });
    if (result == BackgroundScan::Result::Complete && fits && maker)
        m_copy = maker->finish();
}

} // namespace platform::storage
