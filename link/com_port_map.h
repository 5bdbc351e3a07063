#pragma once

#include "link/serial_settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::link {

// "COM1" to "COM4".
std::string comPortName(TComPortNumber port);

// The port a name such as "COM2" or "com2" stands for; none for any other text (a device path).
std::optional<TComPortNumber> comPortFromName(std::string_view name);

// Serial devices present on the machine, USB serial adapters and real UARTs, as /dev paths in a
// stable order: built-in UARTs first, then the rest by where they hang in the device tree (the
// same socket gives the same place, whatever order adapters were plugged in). Terminals without
// hardware behind them (virtual consoles, the legacy 8250 ports a kernel registers by default)
// are left out.
std::vector<std::string> serialDevicesPresent(const std::filesystem::path &sysClassTty = "/sys/class/tty");

// The device a COM port opens: the environment variable KX52B_COMn when set and not empty,
// otherwise the n-th device of serialDevicesPresent(); empty when there is none.
std::string comPortDevicePath(TComPortNumber port,
                              const std::filesystem::path &sysClassTty = "/sys/class/tty");

} // namespace kx::link
