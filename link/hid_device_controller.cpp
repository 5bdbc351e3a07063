#include "link/hid_device_controller.h"

#include <QSocketNotifier>

#include <algorithm>

namespace kx::link {

namespace {
// Controllers alive in the program; only the user-interface thread creates them.
int ControllerCount = 0;
}

THidDeviceController::THidDeviceController(std::shared_ptr<HidPlatform> platform, QObject *owner)
    : QObject(owner), Platform(std::move(platform))
{
    if (++ControllerCount > 1) {
        --ControllerCount;
        throw EControllerError("Only one THidDeviceController allowed per program");
    }
    DeviceList = EnumeratePresent();
    if (const int fd = Platform->notificationFd(); fd >= 0) {
        Notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(Notifier.get(), &QSocketNotifier::activated, this, [this] {
            if (Platform->takeNotifications())
                DeviceChange();
        });
    }
}

THidDeviceController::~THidDeviceController()
{
    Notifier.reset();
    for (const std::unique_ptr<THidDevice> &device : DeviceList) {
        if (device->Claimed())
            device->Unplug();
    }
    DeviceList.clear();
    --ControllerCount;
}

std::unique_ptr<THidDevice> THidDeviceController::NewDevice(THidPnPInfo info)
{
    std::unique_ptr<THidDevice> device;
    try {
        device = std::make_unique<THidDevice>(Platform, std::move(info));
    } catch (const EControllerError &) {
        return nullptr;
    }
    device->OnData = Data;
    device->OnDataError = DataError;
    device->OnUnplug = Unplug;
    return device;
}

std::vector<std::unique_ptr<THidDevice>> THidDeviceController::EnumeratePresent()
{
    std::vector<std::unique_ptr<THidDevice>> devices;
    for (THidPnPInfo &info : Platform->presentInterfaces()) {
        if (std::unique_ptr<THidDevice> device = NewDevice(std::move(info)))
            devices.push_back(std::move(device));
    }
    return devices;
}

std::int32_t THidDeviceController::Enumerate()
{
    std::int32_t offered = 0;
    for (std::size_t i = 0; i < DeviceList.size(); ++i) {
        THidDevice *device = DeviceList[i].get();
        if (!device->Present())
            continue;
        device->IsEnumerating = true;
        const bool more = EnumerateHandler && EnumerateHandler(device, static_cast<std::int32_t>(i));
        device->IsEnumerating = false;
        if (!device->Claimed())
            device->CloseChannels();
        ++offered;
        if (!more)
            break;
    }
    return offered;
}

THidDevice *THidDeviceController::ClaimByIndex(std::int32_t Index)
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    THidDevice *device = DeviceList[static_cast<std::size_t>(Index)].get();
    if (device->Claimed())
        return nullptr;
    device->IsClaimed = true;
    device->StartReader();
    return device;
}

void THidDeviceController::Release(THidDevice *HidDev)
{
    const THidDataEvent data = HidDev->OnData;
    const THidPlugEvent unplug = HidDev->OnUnplug;
    HidDev->SetDataHandler({});
    HidDev->OnUnplug = {};
    HidDev->CloseChannels();

    const std::int32_t index = IndexOf(HidDev);
    if (index < 0)
        return;
    const auto at = DeviceList.begin() + index;
    // The twin must exist before the device it replaces is freed; both hold the same record.
    std::unique_ptr<THidDevice> twin = HidDev->Present() ? NewDevice(HidDev->PnPInfo()) : nullptr;
    if (!twin) {
        // Gone, or no longer openable: the entry leaves the list.
        DeviceList.erase(at);
        return;
    }
    twin->OnData = data;
    twin->OnUnplug = unplug;
    twin->SetSleepTime(HidDev->SleepTime());
    *at = std::move(twin);
}

void THidDeviceController::DeviceChange()
{
    std::vector<std::unique_ptr<THidDevice>> fresh = EnumeratePresent();
    const auto presentIn = [](const std::vector<std::unique_ptr<THidDevice>> &list, const THidDevice &device) {
        return std::any_of(list.begin(), list.end(), [&](const std::unique_ptr<THidDevice> &other) {
            return other->Present() && other->PnPInfo().InstanceID == device.PnPInfo().InstanceID;
        });
    };

    bool changed = false;
    // A device already known to be gone (claimed, waiting for its release) was reported before.
    for (std::size_t i = DeviceList.size(); i-- > 0;) {
        THidDevice *device = DeviceList[i].get();
        if (!device->Present() || presentIn(fresh, *device))
            continue;
        device->Unplug();
        RunPlugEvent(Removal, device);
        changed = true;
        if (!device->Claimed())
            DeviceList.erase(DeviceList.begin() + static_cast<std::ptrdiff_t>(i));
    }
    std::erase_if(fresh, [&](const std::unique_ptr<THidDevice> &device) { return presentIn(DeviceList, *device); });
    for (std::unique_ptr<THidDevice> &device : fresh) {
        THidDevice *arrived = device.get();
        DeviceList.push_back(std::move(device));
        changed = true;
        RunPlugEvent(Arrival, arrived);
    }
    if ((changed || !DeviceChangeReported) && Change)
        Change();
}

void THidDeviceController::RunPlugEvent(const THidPlugEvent &handler, THidDevice *HidDev)
{
    if (!handler)
        return;
    HidDev->IsEnumerating = true;
    handler(HidDev);
    HidDev->IsEnumerating = false;
}

std::int32_t THidDeviceController::IndexOf(const THidDevice *HidDev) const
{
    const auto found = std::find_if(DeviceList.begin(), DeviceList.end(),
                                    [&](const std::unique_ptr<THidDevice> &device) { return device.get() == HidDev; });
    return found == DeviceList.end() ? -1 : static_cast<std::int32_t>(found - DeviceList.begin());
}

void THidDeviceController::SetDevThreadSleepTime(std::int32_t Value)
{
    if (Value == ThreadSleepTime)
        return;
    for (const std::unique_ptr<THidDevice> &device : DeviceList) {
        if (device->SleepTime() == ThreadSleepTime)
            device->SetSleepTime(Value);
    }
    ThreadSleepTime = Value;
}

void THidDeviceController::SetOnDeviceChange(THidNotifyEvent Value)
{
    if (Value == Change)
        return;
    Change = std::move(Value);
    DeviceChange();
    DeviceChangeReported = true;
}

void THidDeviceController::SetOnDeviceData(THidDataEvent Value)
{
    if (Value == Data)
        return;
    for (const std::unique_ptr<THidDevice> &device : DeviceList) {
        if (device->OnData == Data)
            device->SetDataHandler(Value);
    }
    Data = std::move(Value);
}

void THidDeviceController::SetOnDeviceDataError(THidDataErrorEvent Value) { PassOn(DataError, std::move(Value), &THidDevice::OnDataError); }

void THidDeviceController::SetOnDeviceUnplug(THidPlugEvent Value) { PassOn(Unplug, std::move(Value), &THidDevice::OnUnplug); }

template <typename Event>
void THidDeviceController::PassOn(Event &Current, Event Value, Event THidDevice::*Handler)
{
    if (Value == Current)
        return;
    for (const std::unique_ptr<THidDevice> &device : DeviceList) {
        if ((*device).*Handler == Current)
            (*device).*Handler = Value;
    }
    Current = std::move(Value);
}

} // namespace kx::link
