#include "meter/usb_report_handlers.h"

#include <string_view>

namespace kx::meter {

namespace {
constexpr std::string_view kSegmentPositions = "123456789ABCDE";
}

UsbReportOutcome HidSegmentData(Meter &meter, UsbReports &reports, std::uint8_t ReportID,
                                const std::uint8_t *Data, std::uint16_t Size)
{
    GatheredReport gathered = gatherUsbReport(reports, meter.state.LastFrame, ReportID, Data, Size);
    UsbReportOutcome outcome{std::move(gathered.historyLine), std::nullopt};
    if (!gathered.frameComplete)
        return outcome;
    meter.window.setUSBtxt(meter.state.LastFrame);
    if (gathered.positionDigits == kSegmentPositions)
        outcome.failure = LcdDisplay38B(meter);
    return outcome;
}

} // namespace kx::meter
