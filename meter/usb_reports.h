#pragma once

#include "meter/failure.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace kx::meter {

// The USB cable's adapter relays the meter's serial bytes in input reports:
//   data byte 0  count byte: low four bits 1 to 9 = meter bytes in this report; 0 or 10 to 15 = none
//                (an idle report, sent all the time while the meter is silent); high bits unused
//   data 1..n    the meter's bytes, oldest first; further bytes are padding
// A frame is the run of meter bytes between two reports without meter data.

// Most meter bytes one frame keeps. The decoders read the first 14; a run of data reports without an
// idle report between them (a meter of another family, a stuck adapter) must not grow without end.
inline constexpr std::size_t kMaxUsbFrameBytes = 64;

// The gathering state of the USB link, beside the reading state.
struct UsbReports {
    UsbReports() { UsbFrameHex.reserve(2 * kMaxUsbFrameBytes); }

    // Reports without meter data since the last one with meter data, or since the last USB Connect
    // or idle alarm.
    std::int32_t UsbIdleReports = 0;
    // True while meter bytes are being gathered into a frame.
    bool UsbFrameOpen = false;
    // The gathered meter bytes, two upper-case hex digits each, in arrival order.
    std::string UsbFrameHex;
};

// One report taken into the gathering state.
struct GatheredReport {
    // The report's history line ("R 00  F1 3A ..."), only for a report with meter data.
    std::optional<std::string> historyLine;
    // A frame ended with this report: LastFrame holds the low digits of its first 14 bytes and
    // positionDigits their high digits.
    bool frameComplete = false;
    std::string positionDigits;
};

// What one adapter report leaves for the window: the history line to add (reports with meter data
// only) and the failure of the frame it completed, reported like any frame that fails; the reading
// goes on either way.
struct UsbReportOutcome {
    std::optional<std::string> historyLine;
    Failure failure;
};

// SIZE bytes as two upper-case hex digits each, each followed by a space: "F1 3A ".
std::string hexBytes(const std::uint8_t *data, std::size_t size);

// Takes one report (report ID, then SIZE data bytes) into REPORTS; at a frame end writes LASTFRAME.
GatheredReport gatherUsbReport(UsbReports &reports, std::string &LastFrame, std::uint8_t ReportID,
                               const std::uint8_t *Data, std::uint16_t Size);

// The watchdog's question: have REPORTS reached THRESHOLD idle reports? Then the count starts again.
bool usbIdleAlarm(UsbReports &reports, std::int32_t threshold);

} // namespace kx::meter
