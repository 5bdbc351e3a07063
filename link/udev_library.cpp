#include "link/udev_library.h"

#include <dlfcn.h>

namespace kx::link {

namespace {

template <typename Function>
bool bind(void *handle, const char *name, Function &slot)
{
    slot = reinterpret_cast<Function>(::dlsym(handle, name));
    return slot != nullptr;
}

} // namespace

std::unique_ptr<UdevLibrary> UdevLibrary::Load(const char *name)
{
    std::unique_ptr<UdevLibrary> library(new UdevLibrary);
    library->handle_ = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!library->handle_)
        return nullptr;
    void *const handle = library->handle_;
    UdevLibrary &l = *library;
#define KX52B_UDEV_ENTRY(fn) bind(handle, #fn, l.fn)
    const bool complete =
        KX52B_UDEV_ENTRY(udev_new) &&
        KX52B_UDEV_ENTRY(udev_unref) &&
        KX52B_UDEV_ENTRY(udev_enumerate_new) &&
        KX52B_UDEV_ENTRY(udev_enumerate_add_match_subsystem) &&
        KX52B_UDEV_ENTRY(udev_enumerate_scan_devices) &&
        KX52B_UDEV_ENTRY(udev_enumerate_get_list_entry) &&
        KX52B_UDEV_ENTRY(udev_enumerate_unref) &&
        KX52B_UDEV_ENTRY(udev_list_entry_get_next) &&
        KX52B_UDEV_ENTRY(udev_list_entry_get_name) &&
        KX52B_UDEV_ENTRY(udev_device_new_from_syspath) &&
        KX52B_UDEV_ENTRY(udev_device_new_from_devnum) &&
        KX52B_UDEV_ENTRY(udev_device_get_devnode) &&
        KX52B_UDEV_ENTRY(udev_device_get_syspath) &&
        KX52B_UDEV_ENTRY(udev_device_get_parent_with_subsystem_devtype) &&
        KX52B_UDEV_ENTRY(udev_device_get_sysattr_value) &&
        KX52B_UDEV_ENTRY(udev_device_get_property_value) &&
        KX52B_UDEV_ENTRY(udev_device_unref) &&
        KX52B_UDEV_ENTRY(udev_monitor_new_from_netlink) &&
        KX52B_UDEV_ENTRY(udev_monitor_filter_add_match_subsystem_devtype) &&
        KX52B_UDEV_ENTRY(udev_monitor_enable_receiving) &&
        KX52B_UDEV_ENTRY(udev_monitor_get_fd) &&
        KX52B_UDEV_ENTRY(udev_monitor_receive_device) &&
        KX52B_UDEV_ENTRY(udev_monitor_unref);
#undef KX52B_UDEV_ENTRY
    if (!complete)
        return nullptr;
    library->context_ = library->udev_new();
    if (!library->context_)
        return nullptr;
    return library;
}

UdevLibrary::~UdevLibrary()
{
    if (context_)
        udev_unref(context_);
    if (handle_)
        ::dlclose(handle_);
}

} // namespace kx::link
