#include "log/chart_paging.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kx::log::ChartPaging;
using kx::log::ChartSeries;
using kx::log::NavigationEnabled;

constexpr int kArea = static_cast<int>(ChartSeries::Area);
constexpr int kLine = static_cast<int>(ChartSeries::Line);

// The chart step of the reading update sequence: line series, live jump, area series.
void feed(ChartPaging &chart, int readings, float value = 1234.0F)
{
    for (int i = 0; i < readings; ++i) {
        chart.add(ChartSeries::Line, value);
        if (chart.live()) {
            chart.setPage(chart.pageCount());
            chart.setCaption(std::to_string(chart.page()));
        }
        chart.add(ChartSeries::Area, value);
    }
}

// Start-up: reset, the fill selection, live on page 1.
ChartPaging startedWith(int series)
{
    ChartPaging chart;
    chart.reset();
    chart.showSeries(series);
    return chart;
}

TEST(ChartPaging, LiveChartTurnsPageOneReadingLaterWithTheAreaShown)
{
    struct Case {
        int series;
        int readings;
        std::int64_t page;
        std::size_t pointsOnPage;
    };
    // The sample point takes x = 0, so the 100th reading has x = 100: the first of page 2. With
    // the area shown, the jump is counted before the area has the point, one reading late.
    const std::vector<Case> cases{
        {kLine, 99, 1, 100}, {kLine, 100, 2, 1}, {kArea, 100, 1, 100}, {kArea, 101, 2, 2},
    };
    for (const Case &c : cases) {
        ChartPaging chart = startedWith(c.series);
        feed(chart, c.readings);
        SCOPED_TRACE(testing::Message() << "series " << c.series << ", " << c.readings);
        EXPECT_EQ(chart.page(), c.page);
        EXPECT_EQ(chart.caption(), std::to_string(c.page));
        const kx::log::PageSpan span = chart.pageSpan();
        EXPECT_EQ(span.firstX, (c.page - 1) * 100);
        EXPECT_EQ(span.lastX, c.page * 100 - 1) << "the last page is laid out as a full page";
        EXPECT_EQ(span.pointCount, c.pointsOnPage);
    }
}

TEST(ChartPaging, NavigationTable)
{
    enum Command { First, Previous, Next, Last };
    struct Case {
        const char *name;
        std::vector<Command> before;
        Command command;
        std::int64_t page;
        NavigationEnabled enabled;
        bool live;
    };
    // 250 readings and the sample point on 100-point pages: three pages, the chart live on 3.
    const std::vector<Case> cases{
        {"First", {}, First, 1, {false, false, true, true}, false},
        {"Previous on page 1", {First}, Previous, 1, {false, false, true, true}, false},
        {"Previous on a later page", {}, Previous, 2, {true, true, true, true}, false},
        {"Previous keeps First enabled on reaching page 1", {Previous}, Previous, 1,
         {true, true, true, true}, false},
        {"Next on the last page", {}, Next, 3, {true, true, false, false}, false},
        {"Next before the last page", {First}, Next, 2, {true, true, true, true}, false},
        {"Next onto the last page stays not live", {First, Next}, Next, 3, {true, true, true, true},
         false},
        {"Last", {First}, Last, 3, {true, true, false, false}, true},
    };
    for (const Case &c : cases) {
        ChartPaging chart = startedWith(kLine);
        feed(chart, 250);
        const auto run = [&chart](Command command) {
            switch (command) {
            case First: chart.first(); break;
            case Previous: chart.previous(); break;
            case Next: chart.next(); break;
            case Last: chart.last(); break;
            }
        };
        for (const Command step : c.before)
            run(step);
        run(c.command);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chart.page(), c.page);
        EXPECT_EQ(chart.caption(), std::to_string(c.page));
        EXPECT_EQ(chart.enabled(), c.enabled);
        EXPECT_EQ(chart.live(), c.live);
    }
}

TEST(ChartPaging, ChartThatIsNotLiveStaysOnItsPage)
{
    ChartPaging chart = startedWith(kLine);
    feed(chart, 250);
    chart.first();
    feed(chart, 100);
    EXPECT_EQ(chart.page(), 1);
    EXPECT_EQ(chart.pageCount(), 4);
    chart.last();
    feed(chart, 1);
    EXPECT_EQ(chart.page(), 4);
}

TEST(ChartPaging, ZeroPointsPerPageShowsEverythingOnOnePage)
{
    ChartPaging chart = startedWith(kLine);
    feed(chart, 250);
    ASSERT_FALSE(chart.setPointsPerPageText("0"));
    EXPECT_EQ(chart.pageCount(), 1);
    EXPECT_EQ(chart.page(), 1) << "the page beyond the page count moves to the last page";
    EXPECT_EQ(chart.caption(), "3") << "the page counter keeps its text";
    const kx::log::PageSpan span = chart.pageSpan();
    EXPECT_EQ(span.firstX, 0);
    EXPECT_EQ(span.lastX, 250);
    EXPECT_EQ(span.pointCount, 251u);
}

TEST(ChartPaging, PointsPerPageText)
{
    struct Case {
        const char *text;
        int pointsPerPage;
        std::int64_t page;
        const char *failure;
    };
    // From 251 points live on page 3 of 100-point pages.
    const std::vector<Case> cases{
        {"200", 200, 2, nullptr},
        {"50", 50, 3, nullptr},
        {"1", 1, 3, nullptr},
        {"-5", 0, 1, nullptr},
        {"", 100, 3, "'' is not a valid integer value"},
        {"99999999999", 100, 3, "'99999999999' is not a valid integer value"},
    };
    for (const Case &c : cases) {
        ChartPaging chart = startedWith(kLine);
        feed(chart, 250);
        const std::optional<std::string> failure = chart.setPointsPerPageText(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(failure.value_or(""), c.failure ? c.failure : "");
        EXPECT_EQ(chart.pointsPerPage(), c.pointsPerPage);
        EXPECT_EQ(chart.page(), c.page);
    }
}

TEST(ChartPaging, UnitChangeResetOfLiveAndOfStoppedChart)
{
    // The reset comes before the same reading's point in the update sequence.
    ChartPaging live = startedWith(kArea);
    feed(live, 250);
    ASSERT_EQ(live.page(), 3);
    live.reset();
    EXPECT_EQ(live.caption(), "3");
    feed(live, 1);
    EXPECT_EQ(live.page(), 1);
    EXPECT_EQ(live.caption(), "1");
    EXPECT_EQ(live.points(ChartSeries::Line).size(), 2u) << "sample point, then the reading at x = 1";
    EXPECT_EQ(live.points(ChartSeries::Area).size(), 2u);

    ChartPaging stopped = startedWith(kArea);
    feed(stopped, 250);
    stopped.previous();
    stopped.reset();
    feed(stopped, 5);
    EXPECT_EQ(stopped.page(), 2) << "kept until the user navigates";
    EXPECT_EQ(stopped.caption(), "2");
    EXPECT_EQ(stopped.pageSpan().pointCount, 0u);
    stopped.next();
    EXPECT_EQ(stopped.page(), 1) << "Next from beyond the end lands on the last page";
    EXPECT_EQ(stopped.enabled(), (NavigationEnabled{true, true, false, false}));
}

TEST(ChartPaging, PagesCountOnTheActiveSeriesOnly)
{
    ChartPaging chart = startedWith(kArea);
    for (int i = 0; i < 150; ++i)
        chart.add(ChartSeries::Line, 1.0F);
    EXPECT_EQ(chart.pageCount(), 1);
    chart.showSeries(kLine);
    EXPECT_EQ(chart.pageCount(), 2);
    chart.showSeries(7);
    EXPECT_EQ(chart.pageCount(), 1) << "no series active, no points to page";
}

} // namespace
