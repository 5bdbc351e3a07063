#pragma once

#include "meter/meter.h"
#include "meter/usb_reports.h"

#include <cstdint>

namespace kx::meter {

// Reports without meter data after which the USB link tells the user the meter seems off.
#if defined(KX52B_BUILD_40K)
inline constexpr std::int32_t kUsbIdleThreshold = 1900;
#elif defined(KX52B_BUILD_4K)
inline constexpr std::int32_t kUsbIdleThreshold = 600;
#endif

// The segment meter through the adapter (both builds): a gathered frame is shown in USBtxt and
// decoded when its bytes carry the positions 1 to E.
UsbReportOutcome HidSegmentData(Meter &meter, UsbReports &reports, std::uint8_t ReportID,
                                const std::uint8_t *Data, std::uint16_t Size);
#if defined(KX52B_BUILD_40K)
// The five-digit meter's line through the adapter: every gathered frame goes to its decoder, which
// checks the end mark itself.
UsbReportOutcome HidExtendedData(Meter &meter, UsbReports &reports, std::uint8_t ReportID,
                                 const std::uint8_t *Data, std::uint16_t Size);
#endif

} // namespace kx::meter
