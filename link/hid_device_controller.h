#pragma once

#include "link/hid_device.h"
#include "link/hid_events.h"
#include "link/hid_platform.h"
#include "link/hid_udev_platform.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class QSocketNotifier;

namespace kx::link {

// Finds the HID devices present, keeps the list up to date as devices come and go (on device-change
// notices from the platform, watched on the thread that creates it), and lets the program claim
// devices and read them. One per program. Lives on the user-interface thread; every event runs there.
class THidDeviceController : public QObject {
public:
    // Lists the devices present now, without events, and subscribes to device changes. Throws
    // EControllerError "Only one THidDeviceController allowed per program" for a second one.
    explicit THidDeviceController(std::shared_ptr<HidPlatform> platform = makeUdevHidPlatform(),
                                  QObject *owner = nullptr);
    // Claimed devices are unplugged (their unplug handlers run) and every device is freed: release
    // the devices you claimed, and drop your pointers to them, before the controller goes.
    ~THidDeviceController() override;

    // Offers each present device, in list order, to OnEnumerate until it returns false (without a
    // handler: after the first). Returns how many were offered.
    std::int32_t Enumerate();
    // Claims the device at list position Index; none when out of range or already claimed.
    THidDevice *ClaimByIndex(std::int32_t Index);
    // Hands a claimed device back: its reader stops and an unclaimed device for the same interface
    // takes its place in the list, or, when it has gone, it leaves the list. HidDev is freed.
    void Release(THidDevice *HidDev);
    // Brings the list in line with the devices present now; runs on every device-change notice.
    void DeviceChange();

    // The device list: present devices, and claimed ones that have gone until they are released.
    std::int32_t Count() const { return static_cast<std::int32_t>(DeviceList.size()); }
    THidDevice *Devices(std::int32_t Index) const { return DeviceList.at(static_cast<std::size_t>(Index)).get(); }

    std::string_view Version() const { return "1.0.22"; }
    std::int32_t DevThreadSleepTime() const { return ThreadSleepTime; }
    // Devices still on the old wait slice take the new one.
    void SetDevThreadSleepTime(std::int32_t Value);

    const THidPlugEvent &OnArrival() const { return Arrival; }
    void SetOnArrival(THidPlugEvent Value) { Arrival = std::move(Value); }
    const THidPlugEvent &OnRemoval() const { return Removal; }
    void SetOnRemoval(THidPlugEvent Value) { Removal = std::move(Value); }
    const THidEnumerateEvent &OnEnumerate() const { return EnumerateHandler; }
    void SetOnEnumerate(THidEnumerateEvent Value) { EnumerateHandler = std::move(Value); }
    // Assigning a new handler runs DeviceChange at once, and the handler at its end.
    const THidNotifyEvent &OnDeviceChange() const { return Change; }
    void SetOnDeviceChange(THidNotifyEvent Value);
    // Handlers given to new devices; devices still holding the old one take the new one.
    const THidDataEvent &OnDeviceData() const { return Data; }
    void SetOnDeviceData(THidDataEvent Value);
    const THidDataErrorEvent &OnDeviceDataError() const { return DataError; }
    void SetOnDeviceDataError(THidDataErrorEvent Value);
    const THidPlugEvent &OnDeviceUnplug() const { return Unplug; }
    void SetOnDeviceUnplug(THidPlugEvent Value);

private:
    // The present devices as new objects; those that cannot be opened or identified are left out.
    std::vector<std::unique_ptr<THidDevice>> EnumeratePresent();
    // A device object for INFO with the controller's handlers; none if it cannot be opened.
    std::unique_ptr<THidDevice> NewDevice(THidPnPInfo info);
    // Runs HANDLER for HIDDEV with its Enumerating flag set.
    void RunPlugEvent(const THidPlugEvent &handler, THidDevice *HidDev);
    std::int32_t IndexOf(const THidDevice *HidDev) const;
    // Stores VALUE as the controller's handler in CURRENT; devices still on the old one take it.
    template <typename Event>
    void PassOn(Event &Current, Event Value, Event THidDevice::*Handler);

    std::shared_ptr<HidPlatform> Platform;
    std::vector<std::unique_ptr<THidDevice>> DeviceList;
    std::unique_ptr<QSocketNotifier> Notifier;
    bool DeviceChangeReported = false;
    std::int32_t ThreadSleepTime = 100;
    THidPlugEvent Arrival;
    THidPlugEvent Removal;
    THidEnumerateEvent EnumerateHandler;
    THidNotifyEvent Change;
    THidDataEvent Data;
    THidDataErrorEvent DataError;
    THidPlugEvent Unplug;
};

} // namespace kx::link
