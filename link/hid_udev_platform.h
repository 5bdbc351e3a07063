#pragma once

#include "link/hid_platform.h"

#include <memory>

namespace kx::link {

// The machine's HID devices: hidraw nodes, listed and watched through libudev, which is loaded by
// LIBRARY when this is made. Without libudev (missing, incomplete, or failing to start) the list
// stays empty and no change is noticed; there is no message.
std::shared_ptr<HidPlatform> makeUdevHidPlatform(const char *library = "libudev.so.1");

} // namespace kx::link
