// hidraw nodes under libudev. A node's identity is its udev system path (it names the USB port and
// interface and the HID device's sequence number, so a replug is a new device). Strings come from
// the USB device above the node; the kernel keeps the device's language list to itself, so the
// list stands in as US English (0x0409), the language the kernel reads the strings in.
#include "link/hid_udev_platform.h"

#include "link/udev_library.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

namespace kx::link {

namespace {

constexpr char16_t kUsEnglish = 0x0409;

class UdevHidPlatform final : public HidPlatform {
public:
    explicit UdevHidPlatform(std::unique_ptr<UdevLibrary> library) : udev_(std::move(library))
    {
        if (!udev_)
            return;
        monitor_ = udev_->udev_monitor_new_from_netlink(udev_->context(), "udev");
        if (monitor_ && (udev_->udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
                         udev_->udev_monitor_enable_receiving(monitor_) < 0)) {
            udev_->udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
    }
    ~UdevHidPlatform() override
    {
        if (monitor_)
            udev_->udev_monitor_unref(monitor_);
    }
    UdevHidPlatform(const UdevHidPlatform &) = delete;
    UdevHidPlatform &operator=(const UdevHidPlatform &) = delete;

    std::vector<THidPnPInfo> presentInterfaces() override
    {
        std::vector<THidPnPInfo> interfaces;
        if (!udev_)
            return interfaces;
        udev_enumerate *scan = udev_->udev_enumerate_new(udev_->context());
        if (!scan)
            return interfaces;
        if (udev_->udev_enumerate_add_match_subsystem(scan, "hidraw") >= 0 &&
            udev_->udev_enumerate_scan_devices(scan) >= 0) {
            for (udev_list_entry *entry = udev_->udev_enumerate_get_list_entry(scan); entry;
                 entry = udev_->udev_list_entry_get_next(entry)) {
                const char *syspath = udev_->udev_list_entry_get_name(entry);
                const UdevLibrary::Device device = udev_->device(udev_->udev_device_new_from_syspath(udev_->context(), syspath));
                const char *node = device ? udev_->udev_device_get_devnode(device.get()) : nullptr;
                if (node)
                    interfaces.push_back({node, syspath});
            }
        }
        udev_->udev_enumerate_unref(scan);
        return interfaces;
    }

    int notificationFd() override { return monitor_ ? udev_->udev_monitor_get_fd(monitor_) : -1; }

    bool takeNotifications() override
    {
        bool any = false;
        while (const UdevLibrary::Device device = udev_->device(udev_->udev_monitor_receive_device(monitor_)))
            any = true;
        return any;
    }

    UniqueFd open(const std::string &path, HidAccess access) override
    {
        switch (access) {
        case HidAccess::ReadWrite:
            return UniqueFd(::open(path.c_str(), O_RDWR | O_CLOEXEC));
        case HidAccess::Read:
            // Never blocks in read(): the reader waits in poll(), where a stop can reach it.
            return UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        case HidAccess::Identify:
            break;
        }
        // A node the user may not open is still named and identified through udev.
        UniqueFd readable(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        return readable.valid() ? std::move(readable) : UniqueFd(::open(path.c_str(), O_PATH | O_CLOEXEC));
    }

    std::optional<HidAttributes> attributes(int channel) override
    {
        hidraw_devinfo info{};
        if (::ioctl(channel, HIDIOCGRAWINFO, &info) == 0)
            return HidAttributes{static_cast<std::uint16_t>(info.vendor), static_cast<std::uint16_t>(info.product), version(channel)};
        // HID_ID is "bus:vendor:product" in hex, e.g. "0003:00001A86:0000E008".
        const std::optional<std::string> id = parentValue(channel, "hid", nullptr, "HID_ID");
        unsigned bus = 0, vendor = 0, product = 0;
        if (!id || std::sscanf(id->c_str(), "%x:%x:%x", &bus, &vendor, &product) != 3)
            return std::nullopt;
        return HidAttributes{static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product), version(channel)};
    }

    std::optional<std::vector<std::uint8_t>> reportDescriptor(int channel) override
    {
        int size = 0;
        hidraw_report_descriptor descriptor{};
        if (::ioctl(channel, HIDIOCGRDESCSIZE, &size) == 0 && size >= 0 &&
            static_cast<std::size_t>(size) <= sizeof descriptor.value) {
            descriptor.size = static_cast<std::uint32_t>(size);
            if (::ioctl(channel, HIDIOCGRDESC, &descriptor) == 0)
                return std::vector<std::uint8_t>(descriptor.value, descriptor.value + size);
        }
        // Without read access the kernel still shows the descriptor to everyone in sysfs.
        const UdevLibrary::Device node = nodeDevice(channel);
        udev_device *hid = node ? udev_->udev_device_get_parent_with_subsystem_devtype(node.get(), "hid", nullptr) : nullptr;
        if (!hid)
            return std::nullopt;
        std::ifstream file(std::string(udev_->udev_device_get_syspath(hid)) + "/report_descriptor", std::ios::binary);
        if (!file)
            return std::nullopt;
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::optional<std::u16string> string(int channel, HidString which) override
    {
        if (which == HidString::Languages)
            return std::u16string(1, kUsEnglish);
        const std::optional<std::string> text = usbAttribute(channel, which == HidString::Product ? "product" : "serial");
        if (!text)
            return std::nullopt;
        std::u16string units = QString::fromStdString(*text).toStdU16String();
        units.resize(std::min(units.size(), kMaxHidStringUnits));
        return units;
    }

    bool sendFeatureReport(int channel, const std::uint8_t *data, std::size_t length) override
    {
        return ::ioctl(channel, HIDIOCSFEATURE(length), data) >= 0;
    }

private:
    // The udev device of the node CHANNEL is open on; none without libudev.
    UdevLibrary::Device nodeDevice(int channel)
    {
        struct stat status {};
        if (!udev_ || ::fstat(channel, &status) != 0 || !S_ISCHR(status.st_mode))
            return UdevLibrary::Device(nullptr, {udev_.get()});
        return udev_->device(udev_->udev_device_new_from_devnum(udev_->context(), 'c', status.st_rdev));
    }
    // A property (PROPERTY) or else a sysfs attribute (ATTRIBUTE) of the node's nearest parent of
    // SUBSYSTEM (and DEVTYPE).
    std::optional<std::string> parentValue(int channel, const char *subsystem, const char *devtype,
                                           const char *property, const char *attribute = nullptr)
    {
        const UdevLibrary::Device node = nodeDevice(channel);
        udev_device *parent = node ? udev_->udev_device_get_parent_with_subsystem_devtype(node.get(), subsystem, devtype) : nullptr;
        if (!parent)
            return std::nullopt;
        const char *value = property ? udev_->udev_device_get_property_value(parent, property)
                                     : udev_->udev_device_get_sysattr_value(parent, attribute);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    std::optional<std::string> usbAttribute(int channel, const char *name)
    {
        return parentValue(channel, "usb", "usb_device", nullptr, name);
    }
    // The USB device's release number (bcdDevice); 0 for a HID device without a USB device above it.
    std::uint16_t version(int channel)
    {
        const std::optional<std::string> text = usbAttribute(channel, "bcdDevice");
        return text ? static_cast<std::uint16_t>(std::strtoul(text->c_str(), nullptr, 16)) : 0;
    }

    std::unique_ptr<UdevLibrary> udev_;
    udev_monitor *monitor_ = nullptr;
};

} // namespace

std::shared_ptr<HidPlatform> makeUdevHidPlatform(const char *library)
{
    return std::make_shared<UdevHidPlatform>(UdevLibrary::Load(library));
}

} // namespace kx::link
