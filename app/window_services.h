#pragma once

#include <functional>

namespace kx::log {
class Clock;
class FileDialogs;
class MessageBoxes;
} // namespace kx::log

namespace kx::app {

// What the window takes from the desktop, so tests can answer and observe it. Unset members get
// the real ones: modal boxes and file dialogs over the window, the system clock, the desktop bell.
struct WindowServices {
    log::MessageBoxes *boxes = nullptr;
    log::FileDialogs *dialogs = nullptr;
    const log::Clock *clock = nullptr;
    std::function<void()> beep;
};

} // namespace kx::app
