#pragma once

#include <functional>
#include <memory>

namespace kx::log {
class Clock;
class FileDialogs;
class MessageBoxes;
} // namespace kx::log

namespace kx::link {
class HidPlatform;
}

namespace kx::app {

// What the window takes from the desktop, so tests can answer and observe it. Unset members get
// the real ones: modal boxes and file dialogs over the window, the system clock, the desktop bell,
// the HID devices of hidraw.
struct WindowServices {
    log::MessageBoxes *boxes = nullptr;
    log::FileDialogs *dialogs = nullptr;
    const log::Clock *clock = nullptr;
    std::function<void()> beep;
    std::shared_ptr<link::HidPlatform> hidPlatform;
};

} // namespace kx::app
