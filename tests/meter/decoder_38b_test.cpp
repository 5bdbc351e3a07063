#include "meter_rig.h"

#include <gtest/gtest.h>


namespace kx::meter::test {
namespace {

using F = ProfileFlag;

struct Case {
    const char *name;
    std::string frame;
    ProfileFlags flags;
    Reading reading;
    std::string captions; // LcdDa to LcdDd, "_" for blank
    Failure error;
};

constexpr float kFull = KX52B_FULL_SCALE_4;
// LcdDa to LcdDd as the window opens.
#if defined(KX52B_BUILD_40K)
const std::string kLayoutCaptions = "9999";
#else
const std::string kLayoutCaptions = "3999";
#endif
const ProfileFlags kPlain{F::IFKX38A};

TEST(SegmentDecoder, DecodesDigitsSignsAndUnits)
{
    const Case cases[] = {
        {"meter's own frame -1.234 V", "685DB1F2700040", kPlain, "-1.234", -1234, "V", "DC", "AUTO",
         {"LcdAuto", "LcdFH", "LcdP1", "LcdV"}, "1234", std::nullopt},
        {"L in digit 2 is blank", nibbles({.glyphs = "1L34", .n13 = 4}), kPlain, "134", 134, "V", "", "MANU",
         {"LcdV"}, "1_34", std::nullopt},
        {"L in digit 4 is blank", nibbles({.glyphs = "123L"}), kPlain, "123", 123, "", "", "MANU", {}, "123_",
         std::nullopt},
        {"AC and DC: DC wins", nibbles({.glyphs = "0012", .n1 = 0xC, .n13 = 4}), kPlain, "0012", 12, "V", "DC",
         "MANU", {"LcdAC", "LcdV"}, "0012", std::nullopt},
        {"T RMS with AC on the KX38E", nibbles({.glyphs = "0012", .n1 = 0x8}), {F::IFKX38E}, "0012", 12, "",
         "AC", "MANU", {"LCDTRMS", "LCDTRMST", "LcdAC"}, "0012", std::nullopt},
        {"RS232C", nibbles({.glyphs = "0012", .n1 = 0x1}), kPlain, "0012", 12, "", "", "MANU",
         {"LCD232C", "LCDRS"}, "0012", std::nullopt},
        {"Celsius with hertz shows hertz", nibbles({.glyphs = "0012", .n13 = 2, .n14 = 1}), kPlain, "0012", 12,
         "Hz", "", "AUTO", {"LCDHz"}, "0012", std::nullopt},
        {"Celsius replaces unit and coupling", nibbles({.glyphs = "0250", .n1 = 8, .n11 = 8, .n14 = 1}), kPlain,
         "0250", 250, "#", "", "MANU", {"LCDCS", "LcdAC", "Lcdm"}, "0250", std::nullopt},
        {"kilo-ohm", nibbles({.glyphs = "1000", .point = 1, .n10 = 2, .n12 = 4}), kPlain, "1.000", 1000, "k*",
         "", "MANU", {"LCDk", "LCDohm", "LcdP1"}, "1000", std::nullopt},
        {"mega-ohm, HOLD, Rec", nibbles({.glyphs = "1000", .n11 = 2, .n12 = 7}), kPlain, "1000", 1000, "M*",
         "", "MANU", {"LCDHold", "LCDM1", "LCDRec", "LCDohm"}, "1000", std::nullopt},
        {"microampere, battery", nibbles({.glyphs = "0100", .point = 3, .n10 = 8, .n13 = 9}), kPlain, "010.0",
         100, "uA", "", "MANU", {"LCDA", "LCDBATT", "LCDu", "LcdP3"}, "0100", std::nullopt},
        {"nanofarad", nibbles({.glyphs = "4700", .point = 2, .n10 = 4, .n12 = 8}), kPlain, "47.00", 4700, "nF",
         "", "MANU", {"LCDF", "LCDn", "LcdP2"}, "4700", std::nullopt},
        {"kilohertz", nibbles({.glyphs = "1000", .n10 = 2, .n13 = 2}), kPlain, "1000", 1000, "kHz", "", "AUTO",
         {"LCDHz", "LCDk"}, "1000", std::nullopt},
        {"percent, diode, beeper", nibbles({.glyphs = "0050", .n10 = 1, .n11 = 5}), kPlain, "0050", 50, "%", "",
         "MANU", {"LCDBF", "LCDDI", "LCDFm"}, "0050", std::nullopt},
        {"overload", nibbles({.glyphs = " 0L ", .point = 1}), kPlain, ".0L", kFull, "", "", "MANU", {"LcdP1"},
         "_0@_", std::nullopt},
        {"negative overload", nibbles({.glyphs = " 0L ", .minus = true}), kPlain, "-0L", -kFull, "", "", "MANU",
         {"LcdFH"}, "_0@_", std::nullopt},
        {"no digit: frame ends after the annunciators", nibbles({.glyphs = "    ", .minus = true, .n13 = 4}),
         kPlain, "-", 0, "V", "", "MANU", {"LcdFH", "LcdV"}, kLayoutCaptions, "'-' is not a valid integer value"},
        {"L after another digit is no number", nibbles({.glyphs = "11L0"}), kPlain, "11L0", 0, "", "", "MANU", {},
         kLayoutCaptions, "'11@0' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.flags);
        EXPECT_EQ(rig.feed(segmentFrame(c.frame)), c.error);
        expectReading(rig, c.reading);
        EXPECT_EQ(captions(rig.meter.lcd).substr(captions(rig.meter.lcd).size() - 4), c.captions);
    }
}

TEST(SegmentDecoder, HertzSwitchesGaugeAndChartScale)
{
    Rig rig(kPlain);
    const struct {
        std::uint8_t n13;
        bool frequencyMode;
        int setups;
        double axis;
    } steps[] = {
        {4, false, 0, 0},       // volts: no change, nothing redrawn
        {2, true, 1, 5000},     // hertz on
        {2, true, 0, 5000},     // still hertz
        {4, false, 1, kFull},   // hertz off
    };
    for (const auto &step : steps) {
        (void)rig.feed(segmentFrame(nibbles({.glyphs = "1234", .n13 = step.n13})));
        EXPECT_EQ(rig.meter.state.FrequencyMode, step.frequencyMode);
        EXPECT_EQ(rig.window.frame.gaugeSetups, step.setups);
        if (step.setups) {
            EXPECT_EQ(rig.window.axisMinimum, -step.axis);
            EXPECT_EQ(rig.window.axisMaximum, step.axis);
        }
    }
}

} // namespace
} // namespace kx::meter::test
