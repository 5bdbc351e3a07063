// The adapter's reports through the gathering and the build's decoders, on a headless data path.
#include "meter/usb_report_handlers.h"
#include "tests/meter/meter_rig.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kx::meter::test {
namespace {

// A segment frame that decodes to -1.234 V DC AUTO.
const Bytes kSegmentFrame{0x16, 0x28, 0x35, 0x4D, 0x5B, 0x61, 0x7F, 0x82, 0x97, 0xA0, 0xB0, 0xC0, 0xD4, 0xE0};
const Bytes kIdle{0xF0, 0, 0, 0, 0, 0, 0, 0};

using Handler = UsbReportOutcome (*)(Meter &, UsbReports &, std::uint8_t, const std::uint8_t *, std::uint16_t);

struct UsbRig : Rig {
    UsbReportOutcome report(const Bytes &data, Handler handler = &HidSegmentData)
    {
        return handler(meter, reports, 0, data.data(), static_cast<std::uint16_t>(data.size()));
    }
    // Data reports of at most PER bytes carrying BYTES, each padded to the adapter's 8 data bytes.
    std::vector<UsbReportOutcome> relay(const Bytes &bytes, std::size_t per, Handler handler = &HidSegmentData)
    {
        std::vector<UsbReportOutcome> outcomes;
        for (std::size_t at = 0; at < bytes.size(); at += per) {
            const std::size_t n = std::min(per, bytes.size() - at);
            Bytes data{static_cast<std::uint8_t>(0xF0 | n)};
            data.insert(data.end(), bytes.begin() + at, bytes.begin() + at + n);
            data.resize(std::max<std::size_t>(data.size(), 8));
            outcomes.push_back(report(data, handler));
        }
        return outcomes;
    }

    UsbReports reports;
};

TEST(UsbReports, OneByteFrameIsShownButNotDecoded)
{
    UsbRig rig;
    const UsbReportOutcome data = rig.report({0xF1, 0x3A});
    EXPECT_EQ(data.historyLine, "R 00  F1 3A ");
    EXPECT_TRUE(rig.reports.UsbFrameOpen);
    EXPECT_EQ(rig.reports.UsbFrameHex, "3A");

    const UsbReportOutcome idle = rig.report({0xF0});
    EXPECT_FALSE(idle.historyLine);
    EXPECT_FALSE(idle.failure);
    EXPECT_EQ(rig.meter.state.LastFrame, "A");
    EXPECT_EQ(rig.window.USBtxt, "A");
    EXPECT_EQ(rig.window.decoderRuns, 0);
    EXPECT_FALSE(rig.reports.UsbFrameOpen);
    EXPECT_EQ(rig.reports.UsbFrameHex, "");
    EXPECT_EQ(rig.reports.UsbIdleReports, 1);
}

TEST(UsbReports, SegmentFrameSplitOverReportsDecodesOnceAtTheIdleReport)
{
    for (const Bytes &tail : {Bytes{}, Bytes{0x11, 0x22, 0x33}}) {
        UsbRig rig;
        Bytes meterBytes = kSegmentFrame;
        meterBytes.insert(meterBytes.end(), tail.begin(), tail.end());
        rig.relay(meterBytes, 7);
        EXPECT_EQ(rig.window.decoderRuns, 0) << "no frame before the idle report";
        rig.report(kIdle);
        EXPECT_EQ(rig.window.decoderRuns, 1) << tail.size() << " bytes after the frame";
        EXPECT_EQ(rig.meter.state.LastFrame, "685DB1F2700040");
        EXPECT_EQ(rig.meter.state.DisplayText, "-1.234");
        rig.report(kIdle);
        EXPECT_EQ(rig.window.decoderRuns, 1) << "a second idle report ends no frame";
    }
}

TEST(UsbReports, CountDigitDecidesWhatIsMeterData)
{
    struct Case {
        Bytes report;
        bool data;          // counted as meter data
        std::string gathered;
        int idle;           // UsbIdleReports after it, starting from 5
    };
    const std::vector<Case> cases{
        {{0xFA, 0x11, 0x22}, false, "", 6},       // count digit A: idle
        {{0x00}, false, "", 6},                   // count 0
        {{0xF3, 0x41}, true, "41", 0},            // count 3, one byte carried
        {{0x29, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, true, "010203040506070809", 0}, // high digit unused
        {{}, false, "", 5},                       // no data byte: not idle, but ends a frame
    };
    for (const Case &c : cases) {
        UsbRig rig;
        rig.report({0xF1, 0x99});
        rig.reports.UsbIdleReports = 5;
        const UsbReportOutcome outcome = rig.report(c.report);
        EXPECT_EQ(outcome.historyLine.has_value(), c.data) << testing::PrintToString(c.report);
        EXPECT_EQ(rig.reports.UsbFrameOpen, c.data);
        EXPECT_EQ(rig.reports.UsbFrameHex, c.data ? "99" + c.gathered : "");
        EXPECT_EQ(rig.meter.state.LastFrame, c.data ? "" : "9");
        EXPECT_EQ(rig.reports.UsbIdleReports, c.idle);
    }
}

TEST(UsbReports, EndlessDataRunKeepsABoundedFrame)
{
    UsbRig rig;
    for (int i = 0; i < 1000; ++i)
        rig.report({0xF7, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77});
    EXPECT_EQ(rig.reports.UsbFrameHex.size(), 2 * kMaxUsbFrameBytes);
    rig.report(kIdle);
    EXPECT_EQ(rig.meter.state.LastFrame, "12345671234567");
}

TEST(UsbReports, IdleAlarmAtTheThreshold)
{
    UsbReports reports;
    reports.UsbIdleReports = kUsbIdleThreshold - 1;
    EXPECT_FALSE(usbIdleAlarm(reports, kUsbIdleThreshold));
    ++reports.UsbIdleReports;
    EXPECT_TRUE(usbIdleAlarm(reports, kUsbIdleThreshold));
    EXPECT_EQ(reports.UsbIdleReports, 0);
}

#if defined(KX52B_BUILD_40K)
TEST(UsbReports, ExtendedLineDecodesWithItsOwnEndMark)
{
    UsbRig rig;
    rig.relay({0x31, 0x32, 0x33, 0x34, 0x35, 0x32, 0x31, 0x30, 0x31, 0x0D, 0x0A}, 4, &HidExtendedData);
    const UsbReportOutcome end = rig.report(kIdle, &HidExtendedData);
    EXPECT_FALSE(end.failure);
    EXPECT_EQ(rig.window.decoderRuns, 1);
    EXPECT_EQ(rig.meter.state.LastFrame, "123452101DA");
    EXPECT_EQ(rig.meter.state.DisplayText, "12.345");
}

TEST(UsbReports, PartOfALineFailsThatFrameOnlyAndTheNextOneDecodes)
{
    UsbRig rig;
    rig.relay({0x31, 0x32, 0x33}, 7, &HidExtendedData);
    const UsbReportOutcome partial = rig.report(kIdle, &HidExtendedData);
    ASSERT_TRUE(partial.failure);
    EXPECT_FALSE(rig.reports.UsbFrameOpen);
    EXPECT_EQ(rig.reports.UsbFrameHex, "");

    rig.relay({0x31, 0x32, 0x33, 0x34, 0x35, 0x32, 0x31, 0x30, 0x31, 0x0D, 0x0A}, 7, &HidExtendedData);
    EXPECT_FALSE(rig.report(kIdle, &HidExtendedData).failure);
    EXPECT_EQ(rig.meter.state.ReadingValue, 12345);
}
#endif

} // namespace
} // namespace kx::meter::test
