#pragma once

#include "meter/headless_window.h"
#include "meter/meter.h"

#include <string>

namespace kx::tools {

// One decoder run as a JSON object: the frame, the reading state, the LCD, what the frame handed to
// gauge, bar and chart, and the failure that ended it (or null).
std::string jsonLine(const std::string &frame, const meter::Meter &meter, const meter::HeadlessWindow &window,
                     const meter::Failure &error);

} // namespace kx::tools
