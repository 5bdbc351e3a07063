// Arbitrary sequences of USB adapter reports through the gathering and the build's decoders, as the
// reader hands them to the window. Input: the first byte picks the handler and the check boxes; then
// reports, each a length byte and that many bytes (report ID first).
#include "meter/headless_window.h"
#include "meter/startup.h"
#include "meter/usb_report_handlers.h"

#include <cstdlib>

using namespace kx::meter;

namespace {

using Handler = UsbReportOutcome (*)(Meter &, UsbReports &, std::uint8_t, const std::uint8_t *, std::uint16_t);

#if defined(KX52B_BUILD_40K)
constexpr Handler kHandlers[] = {&HidSegmentData, &HidExtendedData};
#else
constexpr Handler kHandlers[] = {&HidSegmentData};
#endif

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t pick = data[0];
    const Handler handler = kHandlers[pick % std::size(kHandlers)];
    HeadlessWindow window;
    window.SetMaxB = pick & 0x40;
    window.SetMinB = pick & 0x80;
    Meter meter(window, buildProfileFlags());
    startProfile(meter);
    UsbReports reports;

    for (std::size_t at = 1; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        const std::uint8_t *report = data + at + 1;
        at += 1 + length;
        const std::uint8_t id = length ? report[0] : 0;
        const auto dataSize = static_cast<std::uint16_t>(length ? length - 1 : 0);
        const UsbReportOutcome outcome = handler(meter, reports, id, report + (length ? 1 : 0), dataSize);
        const int count = dataSize ? report[1] & 0x0F : 0;
        check(outcome.historyLine.has_value() == (count >= 1 && count <= 9));
        check(reports.UsbFrameOpen == outcome.historyLine.has_value());
        check(reports.UsbFrameHex.size() % 2 == 0 && reports.UsbFrameHex.size() <= 2 * kMaxUsbFrameBytes);
        check(reports.UsbIdleReports >= 0);
    }
    return 0;
}
