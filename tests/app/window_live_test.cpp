// The window reading a meter on a pseudo-terminal mapped to COM1, as a user connects it.

#include "build_frames.h"
#include "display/analog_gauge.h"
#include "log/log_table.h"
#include "log/trend_chart.h"
#include "meter_on_pty_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kx::app::testing {
namespace {

TEST_F(WindowOnMeter, AFrameLightsTheLinkIconUntilFramesStop)
{
    open();
    connectCom();
    meter.write(readingFrame(0).bytes);
    ASSERT_TRUE(decoded(readingFrame(0).displayText));
    EXPECT_TRUE(child("CONok")->isVisible());
    EXPECT_FALSE(child("CONokN")->isVisible());
    // The no-link icon comes back 200 to 300 ms after the last frame.
    EXPECT_TRUE(waitFor([&] { return child("CONokN")->isVisible(); }, 1000));
    EXPECT_FALSE(child("CONok")->isVisible());
}

TEST_F(WindowOnMeter, ReadingsReachTheLcdCaptionsLogAndChart)
{
    open();
    connectCom();
    for (int i = 0; i < 3; ++i) {
        meter.write(readingFrame(i).bytes);
        ASSERT_TRUE(decoded(readingFrame(i).displayText)) << i;
    }
    const meter::ReadingState &s = window->meter().state;
    EXPECT_EQ(child<QLabel>("MaxText")->text(), QString::fromStdString(s.MaxDisplayText));
    EXPECT_FALSE(s.MaxDisplayText.empty());
    EXPECT_EQ(window->T38BDB().count(), 3);
    EXPECT_GE(child<log::TrendChart>("Chtshow")->paging().points(log::ChartSeries::Line).size(), 3u);
    EXPECT_TRUE(child("Panel1")->accessibleName().contains(QString::fromStdString(readingFrame(2).displayText)))
        << child("Panel1")->accessibleName().toStdString();
}

TEST_F(WindowOnMeter, FramesThatFailAreCountedOnOneLineWithoutABox)
{
    open();
    connectCom();
    for (int i = 0; i < 5; ++i)
        meter.write(failingFrame());
    auto *line = child<QLabel>("FrameFailures");
    ASSERT_TRUE(waitFor([&] { return line->text().startsWith("5 frames"); })) << line->text().toStdString();
    EXPECT_TRUE(line->text().contains("is not a valid integer value"));
    EXPECT_TRUE(boxes.errors.isEmpty());
    EXPECT_TRUE(boxes.shown.isEmpty());

    // The next good frame is decoded.
    meter.write(readingFrame(1).bytes);
    EXPECT_TRUE(decoded(readingFrame(1).displayText));
}

TEST_F(WindowOnMeter, WithoutItsLogTableNothingIsDecoded)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("Kx52bdb.db"));
    open();
    connectCom();
    meter.write(readingFrame(0).bytes);
    waitFor([] { return false; }, 300);
    EXPECT_TRUE(window->meter().state.DisplayText.empty());
}

TEST_F(WindowOnMeter, AnAlarmBeepsAndShowsTheBanner)
{
    open();
    child<QLineEdit>("Setmax")->setText("100");
    child<QAbstractButton>("SetMaxB")->click();
    connectCom();
    meter.write(readingFrame(0).bytes);
    ASSERT_TRUE(decoded(readingFrame(0).displayText));
    EXPECT_TRUE(child("oltext")->isVisible());
    EXPECT_EQ(beeps, 1);
}

} // namespace
} // namespace kx::app::testing
