#pragma once

#include "link/unique_fd.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kx::link {

// The plug-and-play record of one HID device interface as the system lists it: the path to open,
// and the identity of the device behind it (equal values mean the same device across listings; a
// replug is a new one).
struct THidPnPInfo {
    std::string DevicePath;
    std::string InstanceID;
};

struct HidAttributes {
    std::uint16_t VendorID = 0;
    std::uint16_t ProductID = 0;
    std::uint16_t VersionNumber = 0;
};

// How a channel to a device is opened.
enum class HidAccess {
    ReadWrite, // attributes, strings, descriptor, feature reports
    Identify,  // only to tell what the device is; may succeed where the others are refused
    Read,      // input reports
};

// The device strings the controller asks for.
enum class HidString { Languages, Product, Serial };

// Longest device string, in UTF-16 units.
inline constexpr std::size_t kMaxHidStringUnits = 254;

// The system's HID access under the controller: the real backend on hidraw and udev, or the test
// platform's devices in memory. Every call but open() comes from the user-interface thread; open()
// also comes from a reader thread (to reopen its report channel) and must be safe to call there.
// Failures leave errno set.
class HidPlatform {
public:
    virtual ~HidPlatform() = default;

    // The HID interfaces present now, in a stable order. Empty when the system's device services
    // are missing.
    virtual std::vector<THidPnPInfo> presentInterfaces() = 0;
    // A descriptor that turns readable when a device-change notice waits, or -1 when there are no
    // notices; takeNotifications() reads the waiting ones and says whether a HID device came or went.
    virtual int notificationFd() = 0;
    virtual bool takeNotifications() = 0;

    // A channel to the device at PATH; invalid on failure. A Read channel yields one input report
    // per read() (report-ID byte first only when the device numbers its reports) and hangs up when
    // the device goes away.
    virtual UniqueFd open(const std::string &path, HidAccess access) = 0;
    virtual std::optional<HidAttributes> attributes(int channel) = 0;
    virtual std::optional<std::vector<std::uint8_t>> reportDescriptor(int channel) = 0;
    // At most kMaxHidStringUnits units.
    virtual std::optional<std::u16string> string(int channel, HidString which) = 0;
    // One feature report, first byte the report ID (0 for a device without numbered reports).
    virtual bool sendFeatureReport(int channel, const std::uint8_t *data, std::size_t length) = 0;
};

} // namespace kx::link
