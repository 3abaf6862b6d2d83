#pragma once

#include "platform/storage/LogicalThread.h"
#include "platform/ui/Event.h"
#include "platform/ui/WindowController.h"

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// A controller that writes down every operation and event with the storage thread current
// while it ran ("accepted 14 @2").
class RecordingController : public platform::ui::WindowController
{
public:
    using WindowController::WindowController;

    std::vector<std::string> log;
    int initLevel = platform::ui::Level::Benign;
    bool openInInit = true;
    std::function<int(RecordingController&)> onInit;
    std::function<int(RecordingController&)> onAccepted;
    std::function<int(RecordingController&)> onWindowEvent;
    std::function<void(RecordingController&)> onKill;

    void note(const std::string& what)
    {
        log.push_back(what + " @" + std::to_string(platform::storage::currentThread()));
    }

    static std::string eventName(int event)
    {
        using namespace platform::ui;
        switch (event) {
        case Event::Accepted:
            return "accepted";
        case Event::NewSelection:
            return "newselection";
        case Event::Drop:
            return "drop";
        case Event::Selected:
            return "selected";
        case Event::AlertKey:
            return "alertkey";
        case Event::CloseWindow:
            return "closewindow";
        case Event::CloseDown:
            return "closedown";
        case Event::OpenWindow:
            return "openwindow";
        case Event::Timer:
            return "timer";
        case Event::GainFocus:
            return "gainfocus";
        case Event::Sized:
            return "sized";
        default:
            return "event" + std::to_string(event);
        }
    }

    int init() override
    {
        WindowController::init();
        note("init");
        if (onInit)
            if (const int level = onInit(*this))
                return level;
        if (initLevel == platform::ui::Level::Benign && openInInit)
            window().open();
        return initLevel;
    }
    int kill() override
    {
        note("kill");
        if (onKill)
            onKill(*this);
        return WindowController::kill();
    }
    void openHook() override { note("openhook"); }
    int takeAccepted() override
    {
        if (onAccepted)
            if (const int level = onAccepted(*this))
                return level;
        return WindowController::takeAccepted();
    }
    int takeFieldEvent() override
    {
        note(eventName(event()) + " " + std::to_string(field()));
        return WindowController::takeFieldEvent();
    }
    int takeWindowEvent() override
    {
        if (event() != platform::ui::Event::Timer && event() != platform::ui::Event::Sized &&
            event() != platform::ui::Event::GainFocus)
            note(eventName(event()));
        if (onWindowEvent)
            if (const int level = onWindowEvent(*this))
                return level;
        return WindowController::takeWindowEvent();
    }

    bool logged(const std::string& line) const
    {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    int indexOf(const std::string& line) const
    {
        const auto it = std::find(log.begin(), log.end(), line);
        return it == log.end() ? -1 : static_cast<int>(it - log.begin());
    }
};

} // namespace uitest
