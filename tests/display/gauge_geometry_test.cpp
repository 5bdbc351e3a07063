#include "display/gauge_scale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kx::display::GaugeGeometry;
using kx::display::GaugeInputs;
using kx::display::GaugePoint;
using kx::display::ScaleColour;
using kx::meter::RangeCode;

// Rounding may put a point one pixel either way.
void expectNear(GaugePoint actual, GaugePoint expected)
{
    EXPECT_LE(std::abs(actual.x - expected.x), 1) << actual.x << "," << actual.y;
    EXPECT_LE(std::abs(actual.y - expected.y), 1) << actual.x << "," << actual.y;
}

GaugeInputs range4(std::int32_t fullScale)
{
    GaugeInputs inputs;
    inputs.FullScale = fullScale;
    inputs.MaxLimit = float(fullScale + 2);
    inputs.MinLimit = -float(fullScale + 2);
    return inputs;
}

TEST(GaugeGeometry, ArcOfTheFiveDigitPanel)
{
    const GaugeGeometry g(371, 143);
    EXPECT_EQ(g.W, 331.0f);
    EXPECT_EQ(g.H, 83.0f);
    EXPECT_NEAR(g.R, 206.50, 0.01);
    EXPECT_NEAR(g.A, 106.54, 0.01);
    EXPECT_NEAR(g.B, 36.73, 0.01);
}

TEST(GaugeGeometry, NeedleEndsOnTheFiveDigitPanel)
{
    const GaugeGeometry g(371, 143);
    const GaugeInputs inputs = range4(40000);
    const auto zero = kx::display::placeNeedle(g, inputs, 400).needle;
    expectNear(zero.tip, {186, 34});
    expectNear(zero.base, {185, 393});
    const auto left = kx::display::placeNeedle(g, inputs, 0).needle;
    expectNear(left.tip, {20, 117});
    expectNear(left.base, {395, 393});
    expectNear(kx::display::placeNeedle(g, inputs, 800).needle.tip, {351, 117});
}

TEST(GaugeGeometry, FrequencyModeDrawsPositionsOnAThousandStepScale)
{
    const GaugeGeometry g(371, 143);
    GaugeInputs inputs = range4(4000);
    inputs.FrequencyMode = true;
    const auto placed = kx::display::placeNeedle(g, inputs, 400);
    EXPECT_EQ(placed.position, 500);
    EXPECT_EQ(placed.steps, 1000);
    expectNear(placed.needle.tip, {186, 34});
    // -100 is the left end of the arc, 900 the right end.
    expectNear(kx::display::placeNeedle(g, inputs, -100).needle.tip, {20, 117});
    expectNear(kx::display::placeNeedle(g, inputs, 900).needle.tip, {351, 117});
}

TEST(GaugeGeometry, FourDigitPanelAfterTheWindowsResize)
{
    // The window sets the panel 622 - 303 = 319 wide; its height stays 139.
    const GaugeGeometry g(622 - 303, 139);
    EXPECT_EQ(g.W, 279.0f);
    EXPECT_EQ(g.H, 79.0f);
    const auto zero = kx::display::placeNeedle(g, range4(4000), 400).needle;
    EXPECT_EQ(zero.tip.y, 34);
    EXPECT_LE(std::abs(zero.tip.x - zero.base.x), 1);
    expectNear(kx::display::placeNeedle(g, range4(4000), 0).needle.tip, {20, 79 + 30 + 4});
}

TEST(GaugeGeometry, DegenerateArcsStayDrawable)
{
    // A panel no taller than its margins has no arc: nothing may overflow or be undefined.
    const GaugeGeometry flat(371, 60);
    const auto needle = kx::display::placeNeedle(flat, range4(4000), 400).needle;
    EXPECT_LE(std::abs(needle.base.x), 1'000'020);
    EXPECT_EQ(kx::display::roundToPixel(2.5), 2);
    EXPECT_EQ(kx::display::roundToPixel(3.5), 4);
    EXPECT_EQ(kx::display::roundToPixel(1e300), 1'000'000);
}

// Fine dots beyond an active limit are red; one exactly at the limit is not.
TEST(GaugeScale, RedDotsBeyondTheUpperLimit)
{
    struct Case {
        std::int32_t fullScale;
        float maxLimit;
    };
    for (const Case c : {Case{4000, 2000}, Case{40000, 20000}}) {
        GaugeInputs inputs = range4(c.fullScale);
        inputs.MaxLimit = c.maxLimit;
        inputs.SetMaxB = true;
        const auto dots = kx::display::planScale(GaugeGeometry(371, 143), inputs).dots;
        ASSERT_EQ(dots.size(), 801u);
        for (std::size_t j = 0; j < dots.size(); ++j)
            EXPECT_EQ(dots[j].red, j > 600) << "full scale " << c.fullScale << ", j = " << j;

        inputs.SetMaxB = false;
        for (const auto &dot : kx::display::planScale(GaugeGeometry(371, 143), inputs).dots)
            EXPECT_FALSE(dot.red);
    }
}

TEST(GaugeScale, RedDotsBelowTheLowerLimit)
{
    GaugeInputs inputs = range4(4000);
    inputs.MinLimit = -2000;
    inputs.SetMinB = true;
    const auto dots = kx::display::planScale(GaugeGeometry(371, 143), inputs).dots;
    for (std::size_t j = 0; j < dots.size(); ++j)
        EXPECT_EQ(dots[j].red, j < 200) << "j = " << j;
}

TEST(GaugeScale, LabelsAndMarksOfEachScale)
{
    struct Case {
        bool frequency;
        RangeCode range;
        std::int32_t gaugeSpan;
        std::vector<std::string> labels;
        std::size_t marks;
        ScaleColour markColour;
    };
    const Case cases[] = {
        {true, RangeCode::Range4, 80, {"-50", "-40", "-30", "-20", "-10", "0", "10", "20", "30", "40", "50"}, 11,
         ScaleColour::Red},
        {false, RangeCode::Range4, 80, {"-40", "-30", "-20", "-10", "0", "10", "20", "30", "40"}, 9, ScaleColour::White},
        {false, RangeCode::Range6, 120, {"-60", "-45", "-30", "-15", "0", "15", "30", "45", "60"}, 9, ScaleColour::Red},
        {false, RangeCode::Range34, 68, {"-30", "-20", "-10", "0", "10", "20", "30"}, 7, ScaleColour::Red},
    };
    const GaugeGeometry g(371, 143);
    for (const Case &c : cases) {
        GaugeInputs inputs = range4(4000);
        inputs.FrequencyMode = c.frequency;
        inputs.RangeCode = c.range;
        inputs.GaugeSpan = c.gaugeSpan;
        const auto plan = kx::display::planScale(g, inputs);
        std::vector<std::string> texts;
        for (const auto &label : plan.labels)
            texts.emplace_back(label.text);
        EXPECT_EQ(texts, c.labels);
        ASSERT_EQ(plan.marks.size(), c.marks);
        for (const auto &mark : plan.marks)
            EXPECT_EQ(mark.colour, c.markColour);
        EXPECT_EQ(plan.dots.size(), std::size_t(10 * c.gaugeSpan + 1));
    }
}

TEST(GaugeScale, LabelsHangUpAndLeftOfTheirAnchors)
{
    const GaugeGeometry g(371, 143);
    const auto plan = kx::display::planScale(g, range4(4000));
    // "0" at the top of the arc: anchor 18 pixels above it, the label 3 left and 4 up of that.
    const GaugePoint top = g.pointAt(g.theta(40, 80), 18);
    EXPECT_EQ(plan.labels[4].text, "0");
    EXPECT_EQ(plan.labels[4].topLeft, (GaugePoint{top.x - 3, top.y - 4}));
    expectNear(top, {186, 12});
    // "-40" at the left end.
    const GaugePoint left = g.pointAt(g.theta(0, 80), 18);
    EXPECT_EQ(plan.labels[0].topLeft, (GaugePoint{left.x - 5, left.y - 7}));
    // The "34" scale's marks stand at i = 4, 14, ... 64.
    GaugeInputs inputs = range4(3400);
    inputs.RangeCode = RangeCode::Range34;
    inputs.GaugeSpan = 68;
    EXPECT_EQ(kx::display::planScale(g, inputs).marks.front().at, g.pointAt(g.theta(4, 68), 6));
}

} // namespace
