#pragma once

#include "link/hid_events.h"
#include "link/hid_platform.h"
#include "link/hid_report_descriptor.h"
#include "link/unique_fd.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace kx::link {

class THidDeviceReadThread;

// A device that cannot be opened or identified, or a second controller.
class EControllerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One HID device interface: identity, channels, handlers and reader. Created and owned by the
// controller; the program claims it, uses it and hands it back with THidDeviceController::Release.
// Everything here runs on the user-interface thread.
class THidDevice {
public:
    // Opens the device (read and write if allowed, otherwise only to identify it) and reads its
    // attributes. Throws EControllerError "device cannot be opened" or "device cannot be identified".
    THidDevice(std::shared_ptr<HidPlatform> platform, THidPnPInfo info);
    ~THidDevice();
    THidDevice(const THidDevice &) = delete;
    THidDevice &operator=(const THidDevice &) = delete;

    const THidPnPInfo &PnPInfo() const { return Info; }
    std::uint16_t VendorID() const { return Attributes.VendorID; }
    std::uint16_t ProductID() const { return Attributes.ProductID; }
    std::uint16_t VersionNumber() const { return Attributes.VersionNumber; }

    // Read from the device on first request while it is accessible, kept once found. A serial
    // number equal to the device's language list is taken for none.
    std::string ProductName();
    std::string SerialNumber();

    bool Present() const { return IsPresent; }
    bool Claimed() const { return IsClaimed; }
    bool Enumerating() const { return IsEnumerating; }
    // Whether the last opening got read and write access; when not, the system's error code for
    // the refusal (EACCES without the udev rule), else 0.
    bool ReadWriteAccess() const { return HasReadWriteAccess; }
    int AccessError() const { return ReadWriteError; }
    // Bytes of one input report including the report-ID byte, from the report descriptor; 0 while
    // the descriptor cannot be read.
    std::size_t InputReportLength();

    // Wait slice of the reader in ms; values outside 10 to 10000 are ignored.
    std::int32_t SleepTime() const { return ReaderSleepTime; }
    void SetSleepTime(std::int32_t Value);

    // Sends one feature report, first byte the report ID; false when refused or not accessible.
    // The channel stays open for the next one.
    bool SendFeatureReport(const std::uint8_t *Buffer, std::size_t Length);

    // Installing a handler starts the reader when the device is claimed, present and writable;
    // removing it stops the reader.
    const THidDataEvent &DataHandler() const { return OnData; }
    void SetDataHandler(THidDataEvent Handler);
    const THidDataErrorEvent &DataErrorHandler() const { return OnDataError; }
    void SetDataErrorHandler(THidDataErrorEvent Handler) { OnDataError = std::move(Handler); }
    const THidPlugEvent &UnplugHandler() const { return OnUnplug; }
    void SetUnplugHandler(THidPlugEvent Handler) { OnUnplug = std::move(Handler); }

    // Whether a reader runs for this device.
    bool Reading() const { return Reader != nullptr; }

private:
    friend class THidDeviceController;

    bool Accessible() const { return IsPresent && (IsClaimed || IsEnumerating); }
    // The main channel, opened if needed (read and write, else identify only); -1 if it cannot be.
    int MainChannel();
    void CloseChannels() { Main.reset(); }
    void StartReader();
    void StopReader();
    // The device is gone: channels closed, reader stopped, unplug handler run once.
    void Unplug();

    std::shared_ptr<HidPlatform> Platform;
    THidPnPInfo Info;
    HidAttributes Attributes;
    std::string Product;
    std::string Serial;
    bool IsPresent = true;
    bool IsClaimed = false;
    bool IsEnumerating = false;
    bool HasReadWriteAccess = false;
    int ReadWriteError = 0;
    std::optional<HidInputReports> InputReports;
    std::int32_t ReaderSleepTime = 100;
    THidDataEvent OnData;
    THidDataErrorEvent OnDataError;
    THidPlugEvent OnUnplug;
    UniqueFd Main;
    std::shared_ptr<THidDeviceReadThread> Reader;
};

} // namespace kx::link
