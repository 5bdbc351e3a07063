#include "meter_rig.h"

#include <gtest/gtest.h>

namespace kx::meter::test {
namespace {

constexpr std::int32_t kFull = 40000;

struct Case {
    std::string frame;
    Reading reading;
    std::string captions; // LcdD0 to LcdDd, "_" for blank
    Failure error = std::nullopt;
    Handed handed = {};
};

TEST(ExtendedDecoder, DecodesDigitsFunctionsCouplingAndStatus)
{
    const Case cases[] = {
        {"123452101DA", "12.345", 12345, "V", "", "AUTO", {"LcdAuto", "LcdP1", "LcdV"}, "12345", std::nullopt,
         123 + 400, 12, 12345},
        {"123452105DA", "-12.345", -12345, "V", "", "AUTO", {"LcdAuto", "LcdFH", "LcdP1", "LcdV"}, "12345",
         std::nullopt, -123 + 400},
        {"12345210CDA", "-12.345", -12345, "V", "", "", {"LcdFH", "LcdP1", "LcdV"}, "12345"},
        {"123452108DA", "12.345", 12345, "V", "", "", {"LcdP1", "LcdV"}, "12345"},
        {"123452102DA", "12.345", 12345, "V", "", "AUTO", {"LcdAuto", "LcdP1", "LcdV"}, "12345"},
        {"012341400DA", "012.34", 1234, "*", "", "", {"LCDohm", "LcdP2"}, "01234", std::nullopt, 12 + 400, 1},
        {"A00003101DA", "0.L", kFull, "V", "", "AUTO", {"LcdAuto", "LcdP2", "LcdV"}, "__0@_", std::nullopt, 800, 40,
         kFull},
        {"A00003105DA", "-0.L", -kFull, "V", "", "AUTO", {"LcdAuto", "LcdFH", "LcdP2", "LcdV"}, "__0@_",
         std::nullopt, 0, 40, -kFull},
        {"123B52101DA", "00.000", 0, "V", "", "AUTO", {"LcdAuto", "LcdP1", "LcdV"}, "00000"},
        {"123452131DA", "12.345", 12345, "V", "+", "AUTO",
         {"LCDJa", "LCDTRMS", "LCDTRMST", "LcdAC", "LcdAuto", "LcdDc1", "LcdP1", "LcdV"}, "12345"},
        {"123452111DA", "12.345", 12345, "V", "AC", "AUTO", {"LCDTRMS", "LCDTRMST", "LcdAC", "LcdAuto", "LcdP1", "LcdV"},
         "12345"},
        {"123452121DA", "12.345", 12345, "V", "", "AUTO", {"LcdAuto", "LcdP1", "LcdV"}, "12345"},
        {"123452E00DA", "12345", 12345, "", "", "", {}, "12345"},
        {"123450000DA", "12345", 12345, "", "", "", {}, "12345"},
        {"123452700DA", "12345", 12345, "A", "", "", {"LCDA"}, "12345"},
        {"123451700DA", "1234.5", 12345, "uA", "", "", {"LCDA", "LCDu", "LcdP3"}, "12345"},
        {"123457C00DA", "123.45", 12345, "MHz", "", "", {"LCDHz", "LCDM1", "LcdP2"}, "12345"},
        {"123452400DA", "1.2345", 12345, "k*", "", "", {"LCDk", "LCDohm", "LcdP0"}, "12345"},
        {"123453500DA", "1.2345", 12345, "uF", "", "", {"LCDF", "LCDu", "LcdP0"}, "12345"},
        {"123450A00DA", "123.45", 12345, "*", "", "", {"LCDFm", "LCDohm", "LcdP2"}, "12345"},
        {"123450B00DA", "1.2345", 12345, "V", "", "", {"LCDDI", "LcdV", "LcdP0"}, "12345"},
        {"123450D00DA", "1234.5", 12345, "?", "", "", {"LCDFS", "LcdP3"}, "12345"},
        {"123450F00DA", "123.45", 12345, "%", "", "", {"LCDBF", "LcdP2"}, "12345"},
        // Conversions that fail end the frame where they stand.
        {"12345A101DA", "", 0, "", "", "", {"LcdFH"}, "12345", "'A' is not a valid integer value"},
        {"1234521B1DA", "", 0, "V", "", "", {"LcdFH", "LcdV"}, "12345", "'B' is not a valid integer value"},
        {"1F3452101DA", "1F.345", 0, "V", "", "AUTO", {"LcdAuto", "LcdP1", "LcdV"}, "1F345",
         "'1F345' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.frame);
        Rig rig;
        EXPECT_EQ(rig.feed(extendedFrame(c.frame)), c.error);
        EXPECT_EQ(rig.meter.state.LastFrame, c.frame);
        expectReading(rig, c.reading);
        EXPECT_EQ(captions(rig.meter.lcd), c.captions);
        expectHanded(rig.window, c.handed);
    }
}

// The USB link hands frames of any length; without the end mark no digit is taken.
TEST(ExtendedDecoder, FrameWithoutEndMarkTakesNoDigits)
{
    for (std::string frame : {"123452101D0", "1234521", ""}) {
        Rig rig;
        rig.meter.state.LastFrame = frame;
        const Failure failure = LcdDisplay53A(rig.meter);
        ASSERT_TRUE(failure) << frame;
        EXPECT_EQ(captions(rig.meter.lcd), "_____") << frame;
        EXPECT_EQ(rig.window.USBtxt, frame);
    }
}

} // namespace
} // namespace kx::meter::test

namespace kx::meter::test {
namespace {

// The point after the leading digit (index 0) and no point are different ranges of one unit.
TEST(ExtendedDecoder, NoPointAfterAPointRestartsMinMax)
{
    Rig rig;
    const struct {
        std::string frame;
        bool reset;
    } steps[] = {
        {"123451101DA", true}, {"123451101DA", false}, {"123455101DA", true}, {"123455101DA", false},
        {"123451101DA", true},
    };
    for (const auto &step : steps) {
        EXPECT_EQ(rig.feed(extendedFrame(step.frame)), std::nullopt);
        EXPECT_EQ(rig.meter.state.UnitText, "V");
        EXPECT_EQ(rig.window.frame.reset, step.reset) << step.frame;
    }
}

} // namespace
} // namespace kx::meter::test
