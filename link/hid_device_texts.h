#pragma once

#include "link/hid_device.h"

#include <cstdint>
#include <string>

namespace kx::link {

// The udev rule, installed with the program, that lets the user at the seat open the adapter.
inline constexpr const char *kUsbUdevRule = "70-kx52b-usb-serial.rules";

// The product string, or "Device VID=1A86 PID=E008", with " (Serial=...)" when it has one.
std::string DeviceDisplayName(THidDevice &HidDev);

// What "Info" shows of a device: path, IDs, version, strings, input report length, and whether it
// opens for reading and writing (and if not, why and what helps).
std::string DeviceInfoText(THidDevice &HidDev);

// A read that could not be started: "READ ERROR: <the system's text> (<code in hex>)".
std::string ReadErrorLine(std::uint32_t Error);

// Why a device cannot be read, and the fix.
std::string NoAccessMessage(THidDevice &HidDev);

} // namespace kx::link
