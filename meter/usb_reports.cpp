#include "meter/usb_reports.h"

#include <algorithm>

namespace kx::meter {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
// Bytes of a segment frame, the longest frame any decoder reads.
constexpr std::size_t kFrameBytes = 14;

void appendHex(std::string &text, std::uint8_t byte)
{
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0x0F];
}

} // namespace

std::string hexBytes(const std::uint8_t *data, std::size_t size)
{
    std::string text;
    text.reserve(3 * size);
    for (std::size_t i = 0; i < size; ++i) {
        appendHex(text, data[i]);
        text += ' ';
    }
    return text;
}

GatheredReport gatherUsbReport(UsbReports &reports, std::string &LastFrame, std::uint8_t ReportID,
                               const std::uint8_t *Data, std::uint16_t Size)
{
    GatheredReport result;
    int count = 0;
    if (Size >= 1) {
        count = Data[0] & 0x0F;
        ++reports.UsbIdleReports;
    }
    if (count >= 1 && count <= 9) {
        reports.UsbIdleReports = 0;
        reports.UsbFrameOpen = true;
        const std::size_t carried = std::min<std::size_t>(count, Size - 1u);
        for (std::size_t i = 1; i <= carried && reports.UsbFrameHex.size() < 2 * kMaxUsbFrameBytes; ++i)
            appendHex(reports.UsbFrameHex, Data[i]);
        result.historyLine = "R " + hexBytes(&ReportID, 1) + ' ' + hexBytes(Data, Size);
        return result;
    }
    if (reports.UsbFrameOpen) {
        const std::size_t bytes = std::min(reports.UsbFrameHex.size() / 2, kFrameBytes);
        LastFrame.clear();
        for (std::size_t i = 0; i < bytes; ++i) {
            result.positionDigits += reports.UsbFrameHex[2 * i];
            LastFrame += reports.UsbFrameHex[2 * i + 1];
        }
        result.frameComplete = true;
        reports.UsbFrameHex.clear();
    }
    reports.UsbFrameOpen = false;
    return result;
}

bool usbIdleAlarm(UsbReports &reports, std::int32_t threshold)
{
    if (reports.UsbIdleReports < threshold)
        return false;
    reports.UsbIdleReports = 0;
    return true;
}

} // namespace kx::meter
