#include "meter_rig.h"

#include <gtest/gtest.h>

namespace kx::meter::test {
namespace {

using F = ProfileFlag;

const ProfileFlags kLine{F::IF2485};
const ProfileFlags kSegment{F::IFKX38A};
constexpr std::int32_t kFull = KX52B_FULL_SCALE_4;

// Range 4 voltage without point: the reading is the four digits.
std::string volts(std::string_view digits, char status = '0')
{
    return "A4" + std::string(digits) + "B" + status + "00D";
}

TEST(UpdateSequence, AlarmOnlyBeyondAnActiveLimit)
{
    const struct {
        std::string digits;
        bool maxBox, minBox;
        bool alarm;
    } cases[] = {
        {"1000", true, true, false},  // equal to the upper limit
        {"1001", true, false, true},  // one count beyond
        {"1001", false, true, false}, // beyond, but its box is clear
        {"0000", false, true, false}, // equal to the lower limit
        {"0999", true, false, false},
    };
    for (const auto &c : cases) {
        Rig rig(kLine);
        rig.meter.state.MaxLimit = 1000;
        rig.meter.state.MinLimit = 0;
        rig.window.SetMaxB = c.maxBox;
        rig.window.SetMinB = c.minBox;
        (void)rig.feed(carriageReturnFrame(volts(c.digits)));
        SCOPED_TRACE(c.digits);
        EXPECT_EQ(rig.window.oltextVisible, c.alarm);
        EXPECT_EQ(rig.window.frame.beeps, c.alarm ? 1 : 0);
    }
    // Below the lower limit, and an alarm on two frames beeps on each.
    Rig rig(kLine);
    rig.meter.state.MinLimit = 100;
    rig.window.SetMinB = true;
    for (int i = 0; i < 2; ++i) {
        (void)rig.feed(carriageReturnFrame(volts("0099")));
        EXPECT_EQ(rig.window.frame.beeps, 1);
        EXPECT_TRUE(rig.window.oltextVisible);
    }
    (void)rig.feed(carriageReturnFrame(volts("0100")));
    EXPECT_FALSE(rig.window.oltextVisible);
}

TEST(UpdateSequence, MinMaxRestartOnNewUnitOrPointAndFollowTheReadings)
{
    Rig rig(kLine);
    const struct {
        std::string frame;
        bool reset;
        std::string maxText, minText, unit;
    } steps[] = {
        {volts("0000"), true, "", "", "V"},                // the first frame always restarts
        {volts("0000"), false, "0000", "0000", "V"},
        {volts("0000", '4'), false, "-0000", "-0000", "V"}, // -0 equals 0: an equal reading refreshes both
        {volts("0700"), false, "0700", "-0000", "V"},
        {"A01234B000D", true, "0700", "-0000", "mV"},      // new unit: old texts, new unit caption
        {"A01234B000D", false, "123.4", "123.4", "mV"},
        {"A21234B000D", true, "123.4", "123.4", "V"},      // new point
        {"A012340000D", true, "123.4", "123.4", ""},       // no function
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.frame);
        EXPECT_EQ(rig.feed(carriageReturnFrame(step.frame)), std::nullopt);
        EXPECT_EQ(rig.window.frame.reset, step.reset);
        EXPECT_EQ(rig.window.frame.showSeries, step.reset ? std::optional<std::int32_t>(1) : std::nullopt);
        EXPECT_EQ(rig.window.MaxText, step.maxText);
        EXPECT_EQ(rig.window.MinText, step.minText);
        EXPECT_EQ(rig.window.MaxTextU, step.unit);
        EXPECT_EQ(rig.window.MinTextU, step.unit);
    }
    // The carriage-return decoder restarts one count beyond full scale.
    EXPECT_EQ(rig.meter.state.MaxReading, -(kFull + 1));
    EXPECT_EQ(rig.meter.state.MinReading, kFull + 1);
}

TEST(UpdateSequence, FillOptionSelectsTheSeriesAtARestart)
{
    Rig rig(kLine);
    rig.window.BtFill = true;
    (void)rig.feed(carriageReturnFrame(volts("0500")));
    EXPECT_EQ(rig.window.frame.showSeries, 0);
}

TEST(UpdateSequence, GaugeBarAndChartOfTheSegmentDecoder)
{
    const struct {
        const char *name;
        std::string frame;
        std::int32_t gauge, bar, chart;
    } cases[] = {
        {"overload", nibbles({.glyphs = " 0L "}), 800, 40, kFull},
        {"negative overload", nibbles({.glyphs = " 0L ", .minus = true}), 0, 40, -kFull},
        {"0.123 fills one step", nibbles({.glyphs = "0123", .point = 1}), 12 + 400, 1, 123},
        {"-1.234 takes the digits without sign", "685DB1F2700040", -123 + 400, 12, -1234},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(kSegment);
        EXPECT_EQ(rig.feed(segmentFrame(c.frame)), std::nullopt);
        EXPECT_EQ(rig.window.frame.gauge, c.gauge);
        EXPECT_EQ(rig.window.frame.bar, c.bar);
        EXPECT_EQ(rig.window.frame.chart, c.chart);
        // The segment decoder restarts at full scale.
        EXPECT_EQ(rig.meter.state.MaxReading, -kFull);
        EXPECT_EQ(rig.meter.state.MinReading, kFull);
    }
}

TEST(UpdateSequence, ChartTurnsToItsLastPageOnlyWhileLive)
{
    for (std::uint8_t live : {0, 1}) {
        Rig rig(kLine);
        rig.meter.state.ChartLive = live;
        (void)rig.feed(carriageReturnFrame(volts("0500")));
        EXPECT_EQ(rig.window.frame.chart, 500);
        EXPECT_EQ(rig.window.Bt10, live ? "1" : "");
    }
}

TEST(UpdateSequence, FailedConversionKeepsWhatEarlierStepsDid)
{
    const struct {
        const char *name;
        std::string frame;
        std::string error;
        bool gauge, logged, bar;
        std::string captions;
    } cases[] = {
        {"gauge digits blank", nibbles({.glyphs = "   5", .n13 = 4}), "'' is not a valid integer value", false, false, false, "___5"},
        {"bar digits blank", nibbles({.glyphs = "  12", .n13 = 4}), "'' is not a valid integer value", true, true, false, "__12"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(kSegment);
        EXPECT_EQ(rig.feed(segmentFrame(c.frame)), c.error);
        EXPECT_EQ(rig.window.frame.gauge.has_value(), c.gauge);
        EXPECT_EQ(rig.window.frame.logged, c.logged);
        EXPECT_EQ(rig.window.frame.bar.has_value(), c.bar);
        EXPECT_FALSE(rig.window.frame.chart.has_value());
        EXPECT_EQ(rig.window.MaxTextU, "V");
        EXPECT_EQ(captions(rig.meter.lcd).substr(captions(rig.meter.lcd).size() - 4), c.captions);
    }
}

TEST(UpdateSequence, LogFailureEndsTheFrame)
{
    Rig rig(kLine);
    rig.window.logFailure = "Table is busy";
    EXPECT_EQ(rig.feed(carriageReturnFrame(volts("0500"))), "Table is busy");
    EXPECT_TRUE(rig.window.frame.gauge.has_value());
    EXPECT_FALSE(rig.window.frame.bar.has_value());
    EXPECT_FALSE(rig.window.frame.chart.has_value());
}

} // namespace
} // namespace kx::meter::test
