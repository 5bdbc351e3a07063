#pragma once

#include <libudev.h>

#include <memory>

namespace kx::link {

// libudev loaded at run time by name, so that a machine without it still runs the program (with no
// USB devices). Every entry point is looked up at load; if one is missing the library counts as
// absent. Only the user-interface thread uses it.
class UdevLibrary {
public:
    // None when the library cannot be loaded, lacks an entry point or cannot start.
    static std::unique_ptr<UdevLibrary> Load(const char *name);
    ~UdevLibrary();
    UdevLibrary(const UdevLibrary &) = delete;
    UdevLibrary &operator=(const UdevLibrary &) = delete;

    udev *context() const { return context_; }

    decltype(&::udev_new) udev_new = nullptr;
    decltype(&::udev_unref) udev_unref = nullptr;
    decltype(&::udev_enumerate_new) udev_enumerate_new = nullptr;
    decltype(&::udev_enumerate_add_match_subsystem) udev_enumerate_add_match_subsystem = nullptr;
    decltype(&::udev_enumerate_scan_devices) udev_enumerate_scan_devices = nullptr;
    decltype(&::udev_enumerate_get_list_entry) udev_enumerate_get_list_entry = nullptr;
    decltype(&::udev_enumerate_unref) udev_enumerate_unref = nullptr;
    decltype(&::udev_list_entry_get_next) udev_list_entry_get_next = nullptr;
    decltype(&::udev_list_entry_get_name) udev_list_entry_get_name = nullptr;
    decltype(&::udev_device_new_from_syspath) udev_device_new_from_syspath = nullptr;
    decltype(&::udev_device_new_from_devnum) udev_device_new_from_devnum = nullptr;
    decltype(&::udev_device_get_devnode) udev_device_get_devnode = nullptr;
    decltype(&::udev_device_get_syspath) udev_device_get_syspath = nullptr;
    decltype(&::udev_device_get_parent_with_subsystem_devtype) udev_device_get_parent_with_subsystem_devtype = nullptr;
    decltype(&::udev_device_get_sysattr_value) udev_device_get_sysattr_value = nullptr;
    decltype(&::udev_device_get_property_value) udev_device_get_property_value = nullptr;
    decltype(&::udev_device_unref) udev_device_unref = nullptr;
    decltype(&::udev_monitor_new_from_netlink) udev_monitor_new_from_netlink = nullptr;
    decltype(&::udev_monitor_filter_add_match_subsystem_devtype) udev_monitor_filter_add_match_subsystem_devtype = nullptr;
    decltype(&::udev_monitor_enable_receiving) udev_monitor_enable_receiving = nullptr;
    decltype(&::udev_monitor_get_fd) udev_monitor_get_fd = nullptr;
    decltype(&::udev_monitor_receive_device) udev_monitor_receive_device = nullptr;
    decltype(&::udev_monitor_unref) udev_monitor_unref = nullptr;

    // A device object that is unreferenced with its owner.
    struct DeviceUnref {
        const UdevLibrary *library;
        void operator()(udev_device *device) const { library->udev_device_unref(device); }
    };
    using Device = std::unique_ptr<udev_device, DeviceUnref>;
    Device device(udev_device *raw) const { return Device(raw, DeviceUnref{this}); }

private:
    UdevLibrary() = default;

    void *handle_ = nullptr;
    udev *context_ = nullptr;
};

} // namespace kx::link
