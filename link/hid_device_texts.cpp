#include "link/hid_device_texts.h"

#include <cstdio>
#include <cstring>

namespace kx::link {

namespace {

std::string format(const char *pattern, auto... values)
{
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

std::string accessText(const THidDevice &HidDev)
{
    if (HidDev.ReadWriteAccess())
        return "yes";
    return std::string("no (") + std::strerror(HidDev.AccessError()) + "): install the udev rule " + kUsbUdevRule;
}

} // namespace

std::string DeviceDisplayName(THidDevice &HidDev)
{
    std::string name = HidDev.ProductName();
    if (name.empty())
        name = format("Device VID=%.4X PID=%.4X", unsigned{HidDev.VendorID()}, unsigned{HidDev.ProductID()});
    if (const std::string serial = HidDev.SerialNumber(); !serial.empty())
        name += " (Serial=" + serial + ")";
    return name;
}

std::string DeviceInfoText(THidDevice &HidDev)
{
    const std::string product = HidDev.ProductName();
    const std::string serial = HidDev.SerialNumber();
    const std::size_t length = HidDev.InputReportLength();
    return "Path: " + HidDev.PnPInfo().DevicePath + "\n" +
           format("Vendor ID: %.4X, product ID: %.4X, version: %.4X\n", unsigned{HidDev.VendorID()},
                  unsigned{HidDev.ProductID()}, unsigned{HidDev.VersionNumber()}) +
           "Product: " + (product.empty() ? "none" : product) + "\n" +
           "Serial number: " + (serial.empty() ? "none" : serial) + "\n" +
           "Input report: " + (length ? std::to_string(length) + " bytes" : "unknown") + "\n" +
           "Read and write: " + accessText(HidDev);
}

std::string ReadErrorLine(std::uint32_t Error)
{
    return format("READ ERROR: %s (%X)", std::strerror(static_cast<int>(Error)), unsigned{Error});
}

std::string NoAccessMessage(THidDevice &HidDev)
{
    return DeviceDisplayName(HidDev) + " cannot be opened for reading and writing (" +
           std::strerror(HidDev.AccessError()) + "). Install the udev rule " + kUsbUdevRule +
           " (see the README), then plug the cable in again.";
}

} // namespace kx::link
