#pragma once

#include "link/serial_port_driver.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kx::link {

// What a headless reader of a port asks for.
struct PortSession {
    std::string portName;                             // "COM1".."COM4" or a device path
    TComPortBaudRate speed = TComPortBaudRate::br2400;
    TComPortReceiveDataEvent receiver;                // gets every block, as OnReceiveData would
    std::function<bool()> finished;                   // asked after every block; true ends the run
    int seconds = 0;                                  // ends the run after this long; 0: no limit
};

// Opens the port with the driver's line settings at the session's speed, polls it on a Qt event
// loop (created here when the program has none) and returns when the session is finished, its time
// is up or the port goes away. Returns the error to report, in one line, or none for a good run.
std::optional<std::string> runPortSession(const PortSession &session);

} // namespace kx::link
