#pragma once

#include "link/hid_platform.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kx::link::test {

// The report descriptor of a USB-to-serial adapter like the meter's: vendor-defined, reports not
// numbered, 8-byte input and output reports and a 9-byte feature report.
std::vector<std::uint8_t> adapterReportDescriptor();

// One device of the test platform, as it is plugged in.
struct TestHidDevice {
    std::string InstanceID;
    HidAttributes attributes{0x1A86, 0xE008, 0x0110};
    std::optional<std::u16string> product = u"USB to Serial";
    std::optional<std::u16string> serial;
    std::optional<std::u16string> languages = std::u16string(1, char16_t{0x0409});
    std::vector<std::uint8_t> descriptor = adapterReportDescriptor();
    bool openable = true;     // false: every open fails (ENXIO)
    bool writable = true;     // false: read and read-write opens are refused (EACCES), identify works
    bool identifiable = true; // false: the attributes cannot be read
    bool acceptsFeatures = true;
};

// HID devices in memory. Every channel is one end of a SOCK_SEQPACKET socket pair, so a read
// channel delivers one report per read() like a hidraw node and hangs up when the device is
// unplugged. Plugging and unplugging raise a device-change notice. Safe to drive from any thread.
class TestHidPlatform final : public HidPlatform {
public:
    TestHidPlatform();

    // Lists DEVICE from now on; returns its path.
    std::string plug(TestHidDevice device);
    // Unlists the device: its channels hang up and it can no longer be opened (ENODEV).
    void unplug(const std::string &InstanceID);
    // Puts one input report, as the device sends it (ID byte first only if it numbers its reports),
    // on every read channel open on the device; false when none is open. Blocks while they are full.
    bool sendReport(const std::string &InstanceID, const std::vector<std::uint8_t> &report);
    // Read channels open on the device now.
    int readChannels(const std::string &InstanceID);
    // Feature reports the device has accepted, oldest first.
    std::vector<std::vector<std::uint8_t>> featureReports(const std::string &InstanceID);

    std::vector<THidPnPInfo> presentInterfaces() override;
    int notificationFd() override { return notices_.get(); }
    bool takeNotifications() override;
    UniqueFd open(const std::string &path, HidAccess access) override;
    std::optional<HidAttributes> attributes(int channel) override;
    std::optional<std::vector<std::uint8_t>> reportDescriptor(int channel) override;
    std::optional<std::u16string> string(int channel, HidString which) override;
    bool sendFeatureReport(int channel, const std::uint8_t *data, std::size_t length) override;

private:
    struct Plugged {
        TestHidDevice device;
        std::string path;
        bool present = true;
        std::vector<std::vector<std::uint8_t>> features;
    };
    struct Channel {
        std::string InstanceID;
        HidAccess access;
        UniqueFd peer; // the device's end
    };

    void notify();
    // The device behind an open channel; none once unplugged. Call with mutex_ held.
    Plugged *deviceOf(int channel);
    // Drops channels whose program end has been closed. Call with mutex_ held.
    void dropClosedChannels();

    UniqueFd notices_;
    std::mutex mutex_; // guards devices_, channels_, nextNode_
    std::map<std::string, Plugged> devices_;
    std::vector<std::string> order_;
    std::map<int, Channel> channels_;
    int nextNode_ = 0;
};

} // namespace kx::link::test
