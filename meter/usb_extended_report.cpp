#include "meter/usb_report_handlers.h"

namespace kx::meter {

UsbReportOutcome HidExtendedData(Meter &meter, UsbReports &reports, std::uint8_t ReportID,
                                 const std::uint8_t *Data, std::uint16_t Size)
{
    GatheredReport gathered = gatherUsbReport(reports, meter.state.LastFrame, ReportID, Data, Size);
    UsbReportOutcome outcome{std::move(gathered.historyLine), std::nullopt};
    if (gathered.frameComplete)
        outcome.failure = LcdDisplay53A(meter);
    return outcome;
}

} // namespace kx::meter
