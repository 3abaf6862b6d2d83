#pragma once

// Where the keyboard layout of the session lives and how the program hears of a change: the
// X keyboard extension's group on X11, a simulated layout under the offscreen platform (for
// tests). Elsewhere (a Wayland session) the program is not told of layout changes, so there is
// no source and nothing can be refused.
namespace platform::ui::keyboard {

class SimulatedLayoutSource;

class LayoutSource
{
public:
    virtual ~LayoutSource() = default;
    // The current layout: 0 the first of the session's layouts, 1 the second ...
    virtual int group() const = 0;
};

// The session's source, made at the first call (the application object must exist); null
// where the platform has none.
LayoutSource* layoutSource();

// The simulated source when the session uses one, else null.
SimulatedLayoutSource* simulatedLayoutSource();

} // namespace platform::ui::keyboard
