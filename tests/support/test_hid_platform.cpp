#include "tests/support/test_hid_platform.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

namespace kx::link::test {

std::vector<std::uint8_t> adapterReportDescriptor()
{
    return {
        0x06, 0xA0, 0xFF, // Usage Page (vendor 0xFFA0)
        0x09, 0x01,       // Usage (1)
        0xA1, 0x01,       // Collection (Application)
        0x15, 0x00,       //   Logical Minimum (0)
        0x26, 0xFF, 0x00, //   Logical Maximum (255)
        0x75, 0x08,       //   Report Size (8)
        0x09, 0x02,       //   Usage (2)
        0x95, 0x08,       //   Report Count (8)
        0x81, 0x02,       //   Input (Data, Variable, Absolute)
        0x09, 0x03,       //   Usage (3)
        0x91, 0x02,       //   Output (Data, Variable, Absolute)
        0x09, 0x04,       //   Usage (4)
        0x95, 0x09,       //   Report Count (9)
        0xB1, 0x02,       //   Feature (Data, Variable, Absolute)
        0xC0,             // End Collection
    };
}

TestHidPlatform::TestHidPlatform() : notices_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

std::string TestHidPlatform::plug(TestHidDevice device)
{
    std::string path;
    {
        std::lock_guard lock(mutex_);
        path = "/dev/test-hidraw" + std::to_string(nextNode_++);
        const std::string id = device.InstanceID;
        devices_[id] = Plugged{std::move(device), path, true, {}};
        std::erase(order_, id);
        order_.push_back(id);
    }
    notify();
    return path;
}

void TestHidPlatform::unplug(const std::string &InstanceID)
{
    {
        std::lock_guard lock(mutex_);
        devices_.at(InstanceID).present = false;
        std::erase_if(channels_, [&](const auto &channel) { return channel.second.InstanceID == InstanceID; });
    }
    notify();
}

bool TestHidPlatform::sendReport(const std::string &InstanceID, const std::vector<std::uint8_t> &report)
{
    std::vector<UniqueFd> peers;
    {
        std::lock_guard lock(mutex_);
        dropClosedChannels();
        for (const auto &[fd, channel] : channels_) {
            if (channel.InstanceID == InstanceID && channel.access == HidAccess::Read)
                peers.emplace_back(::dup(channel.peer.get()));
        }
    }
    // Sent outside the lock, on copies of the device's ends: a full channel blocks until its reader
    // takes a report, and the reader may need the platform meanwhile.
    bool sent = false;
    for (const UniqueFd &peer : peers)
        sent = ::send(peer.get(), report.data(), report.size(), MSG_NOSIGNAL) >= 0 || sent;
    return sent;
}

int TestHidPlatform::readChannels(const std::string &InstanceID)
{
    std::lock_guard lock(mutex_);
    dropClosedChannels();
    return static_cast<int>(std::count_if(channels_.begin(), channels_.end(), [&](const auto &channel) {
        return channel.second.InstanceID == InstanceID && channel.second.access == HidAccess::Read;
    }));
}

std::vector<std::vector<std::uint8_t>> TestHidPlatform::featureReports(const std::string &InstanceID)
{
    std::lock_guard lock(mutex_);
    return devices_.at(InstanceID).features;
}

std::vector<THidPnPInfo> TestHidPlatform::presentInterfaces()
{
    std::lock_guard lock(mutex_);
    std::vector<THidPnPInfo> interfaces;
    for (const std::string &id : order_) {
        const Plugged &plugged = devices_.at(id);
        if (plugged.present)
            interfaces.push_back({plugged.path, id});
    }
    return interfaces;
}

bool TestHidPlatform::takeNotifications()
{
    std::uint64_t count = 0;
    return ::read(notices_.get(), &count, sizeof count) == sizeof count && count > 0;
}

UniqueFd TestHidPlatform::open(const std::string &path, HidAccess access)
{
    std::lock_guard lock(mutex_);
    dropClosedChannels();
    const auto found = std::find_if(devices_.begin(), devices_.end(),
                                    [&](const auto &device) { return device.second.path == path; });
    if (found == devices_.end() || !found->second.present) {
        errno = found == devices_.end() ? ENOENT : ENODEV;
        return UniqueFd();
    }
    const TestHidDevice &device = found->second.device;
    if (!device.openable || (!device.writable && access != HidAccess::Identify)) {
        errno = device.openable ? EACCES : ENXIO;
        return UniqueFd();
    }
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
        return UniqueFd();
    channels_[ends[0]] = Channel{found->first, access, UniqueFd(ends[1])};
    return UniqueFd(ends[0]);
}

std::optional<HidAttributes> TestHidPlatform::attributes(int channel)
{
    std::lock_guard lock(mutex_);
    const Plugged *plugged = deviceOf(channel);
    if (!plugged || !plugged->device.identifiable)
        return std::nullopt;
    return plugged->device.attributes;
}

std::optional<std::vector<std::uint8_t>> TestHidPlatform::reportDescriptor(int channel)
{
    std::lock_guard lock(mutex_);
    const Plugged *plugged = deviceOf(channel);
    return plugged ? std::optional(plugged->device.descriptor) : std::nullopt;
}

std::optional<std::u16string> TestHidPlatform::string(int channel, HidString which)
{
    std::lock_guard lock(mutex_);
    const Plugged *plugged = deviceOf(channel);
    if (!plugged)
        return std::nullopt;
    switch (which) {
    case HidString::Languages: return plugged->device.languages;
    case HidString::Product: return plugged->device.product;
    case HidString::Serial: return plugged->device.serial;
    }
    return std::nullopt;
}

bool TestHidPlatform::sendFeatureReport(int channel, const std::uint8_t *data, std::size_t length)
{
    std::lock_guard lock(mutex_);
    Plugged *plugged = deviceOf(channel);
    if (!plugged || !plugged->device.acceptsFeatures || channels_.at(channel).access != HidAccess::ReadWrite)
        return false;
    plugged->features.emplace_back(data, data + length);
    return true;
}

void TestHidPlatform::notify()
{
    const std::uint64_t one = 1;
    (void)!::write(notices_.get(), &one, sizeof one);
}

TestHidPlatform::Plugged *TestHidPlatform::deviceOf(int channel)
{
    dropClosedChannels();
    const auto found = channels_.find(channel);
    if (found == channels_.end())
        return nullptr;
    Plugged &plugged = devices_.at(found->second.InstanceID);
    return plugged.present ? &plugged : nullptr;
}

void TestHidPlatform::dropClosedChannels()
{
    std::erase_if(channels_, [](const auto &channel) {
        pollfd peer{channel.second.peer.get(), 0, 0};
        return ::poll(&peer, 1, 0) > 0 && (peer.revents & POLLHUP);
    });
}

} // namespace kx::link::test
