#include "app/main_window.h"

#include "app/frame_failure_line.h"
#include "app/window_messages.h"
#include "link/hid_device_controller.h"
#include "link/hid_udev_platform.h"
#include "link/usb_adapter_link.h"
#include "meter/usb_report_handlers.h"

namespace kx::app {

namespace {

using Handler = meter::UsbReportOutcome (*)(meter::Meter &, meter::UsbReports &, std::uint8_t, const std::uint8_t *,
                                            std::uint16_t);

// "USB Connect" reads the build's own meter: the five-digit line, or the segment frames.
#if defined(KX52B_BUILD_40K)
constexpr Handler kConnectHandler = &meter::HidExtendedData;
#else
constexpr Handler kConnectHandler = &meter::HidSegmentData;
#endif

} // namespace

// `HidCtl` and the USB adapter link: taking over the controller's events fills the device list, as
// loading the window's layout does, before the start-up sequence.
void TFCOMM::bindUsbLink()
{
    m_HidCtl = new link::THidDeviceController(
        m_services.hidPlatform ? m_services.hidPlatform : link::makeUdevHidPlatform(), this);
    m_HidCtl->setObjectName(QStringLiteral("HidCtl"));
    // Each report is handed over from the reader thread and handled here like a poll tick.
    const auto handler = [this](Handler decode) {
        return [this, decode](meter::UsbReports &reports, std::uint8_t id, const std::uint8_t *data,
                              std::uint16_t size) {
            const WindowMessages::TickScope tick(*m_messages);
            meter::UsbReportOutcome outcome = decode(m_meter, reports, id, data, size);
            showDecodedFrames();
            return outcome;
        };
    };
    link::UsbAdapterHooks hooks;
    hooks.segmentData = handler(&meter::HidSegmentData);
    hooks.connectData = handler(kConnectHandler);
    hooks.messages = [this](const QString &text) { m_messages->information(text); };
    hooks.frameFailure = [this](const std::string &failure) { m_frameFailures->report(QString::fromStdString(failure)); };
    hooks.idleThreshold = meter::kUsbIdleThreshold;
    m_usbLink = std::make_unique<link::UsbAdapterLink>(
        link::UsbAdapterWidgets{m_controls.DevListBox, m_controls.HistoryListBox, m_controls.USBCon,
                                m_controls.ReadBtn, m_controls.SetFeature, m_controls.ClearBtn, m_controls.InfoBtn,
                                m_controls.USBtxt},
        *m_HidCtl, std::move(hooks), this);
}

} // namespace kx::app
