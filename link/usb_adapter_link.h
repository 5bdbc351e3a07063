#pragma once

#include "link/hid_device_controller.h"
#include "meter/usb_reports.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace kx::link {

// The USB adapter's controls, created and placed by the window; the link gives them captions,
// names and behaviour.
struct UsbAdapterWidgets {
    QListWidget *DevListBox = nullptr;     // one entry per HID device
    QListWidget *HistoryListBox = nullptr; // what happened, newest selected
    QPushButton *USBCon = nullptr;         // "USB Connect", a toggle of the exclusive group
    QPushButton *ReadBtn = nullptr;        // "Read", a toggle of the exclusive group
    QPushButton *SetFeature = nullptr;     // "SetFeature"
    QPushButton *ClearBtn = nullptr;       // "Clear"
    QPushButton *InfoBtn = nullptr;        // "Info"
    QLabel *USBtxt = nullptr;              // the last gathered frame (written by the data path)
};

// A report handler of the window's data path: HidSegmentData or HidExtendedData run on the
// window's Meter with the link's gathering state.
using UsbReportHandler = std::function<meter::UsbReportOutcome(meter::UsbReports &reports, std::uint8_t ReportID,
                                                               const std::uint8_t *Data, std::uint16_t Size)>;

struct UsbAdapterHooks {
    // "Read" (both builds): the segment-frame handler.
    UsbReportHandler segmentData;
    // "USB Connect": the build's handler (HidExtendedData in the 40000-count build, HidSegmentData
    // in the 4000-count build).
    UsbReportHandler connectData;
    // An information message; the window shows it after the current event or tick.
    std::function<void(const QString &)> messages;
    // A frame from the adapter that failed to decode; reading goes on.
    std::function<void(const std::string &)> frameFailure;
    // Idle reports after which the meter counts as silent: kx::meter::kUsbIdleThreshold.
    std::int32_t idleThreshold = 0;
};

// The USB adapter link of the main window: the device list and history, "USB Connect", "Read",
// "SetFeature", "Clear" and "Info" on the HID controller `HidCtl`. Taking over the controller's
// events fills the device list at once and selects the "USB to Serial" adapter. Construct it after
// the controller and destroy it before: it releases its devices when it goes.
class UsbAdapterLink : public QObject {
public:
    UsbAdapterLink(const UsbAdapterWidgets &widgets, THidDeviceController &HidCtl, UsbAdapterHooks hooks,
                   QObject *parent = nullptr);
    ~UsbAdapterLink() override;

    // The watchdog's USB idle check, run on each tick that shows the no-link icon, before the
    // switch: after the threshold of idle reports reading stops and the user is told to check the
    // meter.
    void UsbIdleCheck();

    // The actions, bound to the buttons' clicks.
    void USBConClick();
    void ReadBtnClick();
    void SetFeatureClick();
    void ClearBtnClick();
    void InfoBtnClick();

    // The device the last USB action worked on; never a released one.
    THidDevice *CurrentDevice() const { return Current; }
    const meter::UsbReports &Reports() const { return Gathering; }

private:
    // The controller's events.
    void HidCtlArrival(THidDevice *HidDev);
    void HidCtlRemoval(THidDevice *HidDev);
    void HidCtlDeviceChange();
    bool HidCtlEnumerate(THidDevice *HidDev, std::int32_t Idx);
    void HidCtlDeviceDataError(THidDevice *HidDev, std::uint32_t Error);

    void bindWidgets();
    // Hands every listed device back to the controller without its data handler, so that the
    // unclaimed twins start without one and nothing reads until an action starts it again.
    void ReleaseDevices();
    // The device of the selected entry, or none when the list is empty or nothing is selected.
    THidDevice *SelectedDevice() const;
    void AddHistory(const std::string &line);
    void Report(const UsbReportHandler &handler, std::uint8_t ReportID, const std::uint8_t *Data, std::uint16_t Size);
    void UpdateConnectTooltip();

    UsbAdapterWidgets Widgets;
    THidDeviceController &HidCtl;
    UsbAdapterHooks Hooks;
    // The claimed device of each DevListBox entry, row by row (none where the claim failed).
    std::vector<THidDevice *> ListDevices;
    THidDevice *Current = nullptr;
    meter::UsbReports Gathering;
    THidDataEvent HidSegmentData;
    THidDataEvent HidConnectData;
};

} // namespace kx::link
