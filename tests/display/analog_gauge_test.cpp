#include "display/analog_gauge.h"
#include "display/gauge_scale.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

using kx::display::AnalogGauge;
using kx::display::GaugeInputs;

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

struct GaugeFixture : ::testing::Test {
    GaugeFixture()
    {
        inputs.FullScale = 40000;
        inputs.MaxLimit = 40002;
        inputs.MinLimit = -40002;
        gauge.resize(371, 143);
    }

    // Whether any pixel of row y between x0 and x1 has the colour.
    bool rowHas(int y, int x0, int x1, QRgb colour) const
    {
        for (int x = x0; x <= x1; ++x)
            if (gauge.surface().pixel(x, y) == colour)
                return true;
        return false;
    }

    GaugeInputs inputs;
    AnalogGauge gauge{[this] { return inputs; }};
};

TEST_F(GaugeFixture, NeedleIsDrawnAndTheOldOneErased)
{
    gauge.KDsetup(1);
    gauge.KDrun(400);
    for (int y = 40; y < 139; y += 10)
        EXPECT_TRUE(rowHas(y, 184, 187, kBlack)) << "vertical needle at y " << y;
    EXPECT_EQ(gauge.accessibleName(), "Needle at 400 of 800");

    gauge.KDrun(0);
    for (int y = 40; y < 139; y += 10)
        EXPECT_FALSE(rowHas(y, 182, 189, kBlack)) << "old needle left at y " << y;
    // From the arc's left end (20, 117) towards (395, 393).
    EXPECT_TRUE(rowHas(130, 36, 40, kBlack));
    EXPECT_EQ(gauge.accessibleName(), "Needle at 0 of 800");
}

TEST_F(GaugeFixture, ScaleRedrawClearsTheNeedleUntilTheNextReading)
{
    gauge.KDsetup(1);
    gauge.KDrun(400);
    gauge.KDsetup(1);
    EXPECT_FALSE(rowHas(80, 182, 189, kBlack));
    // The needle's last end points stay, so the next move erases there again.
    EXPECT_EQ(gauge.NeedleTip().y, 34);
    gauge.KDrun(400);
    EXPECT_TRUE(rowHas(80, 184, 187, kBlack));
}

TEST_F(GaugeFixture, ScaleShowsDotsBeyondAnActiveLimitInRed)
{
    inputs.MaxLimit = 20000;
    inputs.SetMaxB = true;
    gauge.KDsetup(1);
    const kx::display::GaugeGeometry g(371, 143);
    const auto dotAt = [&](int j) {
        const auto p = g.pointAt(g.theta(j, 800), 3);
        return gauge.surface().pixel(p.x + 1, p.y + 1);
    };
    EXPECT_EQ(dotAt(700), qRgb(255, 0, 0));
    EXPECT_EQ(dotAt(300), kBlack);
}

TEST_F(GaugeFixture, SurfaceKeepsItsFirstSizeWhileTheScaleFollowsThePanel)
{
    EXPECT_TRUE(gauge.surface().isNull());
    gauge.KDsetup(1);
    EXPECT_EQ(gauge.surface().size(), QSize(367, 139));

    // 401 wide: W = 361, so the top of the arc moves to x = 200.
    gauge.resize(401, 143);
    gauge.KDsetup(1);
    gauge.KDrun(400);
    EXPECT_EQ(gauge.surface().size(), QSize(367, 139));
    EXPECT_TRUE(rowHas(80, 199, 201, kBlack));
    EXPECT_FALSE(rowHas(80, 183, 188, kBlack));
}

TEST_F(GaugeFixture, LinkIconsAndAlarmBanner)
{
    auto *conOk = gauge.findChild<QWidget *>("CONok");
    auto *conOkN = gauge.findChild<QWidget *>("CONokN");
    auto *oltext = gauge.findChild<QLabel *>("oltext");
    ASSERT_TRUE(conOk && conOkN && oltext && gauge.findChild<QWidget *>("KD1"));
    EXPECT_TRUE(conOk->isHidden());
    EXPECT_FALSE(conOkN->isHidden());
    EXPECT_EQ(conOk->geometry(), QRect(5, 5, 25, 24));
    gauge.showCONok();
    EXPECT_FALSE(conOk->isHidden());
    EXPECT_TRUE(conOkN->isHidden());
    gauge.showCONokN();
    EXPECT_TRUE(conOk->isHidden());

    EXPECT_TRUE(oltext->isHidden());
    EXPECT_EQ(oltext->text(), "OL !!");
    gauge.show();  // a hidden panel places its children once shown
    EXPECT_EQ(oltext->geometry().center(), QRect(0, 0, 371, 143).center());
    gauge.setOltextVisible(true);
    EXPECT_FALSE(oltext->isHidden());
}

} // namespace
