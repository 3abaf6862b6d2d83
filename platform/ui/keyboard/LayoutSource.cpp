#include "platform/ui/keyboard/LayoutSource.h"

#include "platform/ui/keyboard/SimulatedLayoutSource.h"
#include "platform/ui/keyboard/X11LayoutSource.h"

#include <QGuiApplication>

#include <memory>

namespace platform::ui::keyboard {
namespace {

std::unique_ptr<LayoutSource> makeSource()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen"))
        return std::make_unique<SimulatedLayoutSource>();
    if (platform == QLatin1String("xcb"))
        return X11LayoutSource::connect();
    return nullptr;
}

} // namespace

LayoutSource* layoutSource()
{
    static std::unique_ptr<LayoutSource> source;
    static bool made = false;
    if (!made && QGuiApplication::instance()) {
        made = true;
        source = makeSource();
        // The source watches the window system through the application's event loop.
        QObject::connect(QGuiApplication::instance(), &QObject::destroyed, [] {
            source.reset();
            made = false;
        });
    }
    return source.get();
}

SimulatedLayoutSource* simulatedLayoutSource()
{
    return dynamic_cast<SimulatedLayoutSource*>(layoutSource());
}

} // namespace platform::ui::keyboard
