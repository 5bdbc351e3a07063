#include "log/trend_chart.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using kx::log::TrendChart;

struct RecordedMessages : kx::log::ChartMessages {
    void information(const QString &text) override { informations.append(text); }
    void error(const QString &text) override { errors.append(text); }
    QStringList informations;
    QStringList errors;
};

// The chart inside a window of the size the main window has, placed below its other controls.
struct TrendChartTest : testing::Test {
    TrendChartTest()
    {
        window.resize(720, 520);
        chart = new TrendChart(&window);
        chart->setGeometry(10, 100, 600, 300);
        chart->setMessages(&messages);
        chart->setChartLeftAxis(-40000, 40000);
        window.show();
        settle();
    }

    // Long enough for the chart to draw what was added.
    static void settle() { QTest::qWait(TrendChart::kDataRefreshMilliseconds + 50); }

    // The chart step of the reading update sequence.
    void feed(int readings, double value)
    {
        for (int i = 0; i < readings; ++i) {
            chart->Series1Add(value);
            if (chart->chartLive()) {
                chart->setChartPage(chart->chartPageCount());
                chart->setBt10Caption(QString::number(chart->chartPageCount()));
            }
            chart->Series2Add(value);
        }
        settle();
    }

    template <typename T> T *child(const char *name) const
    {
        return chart->findChild<T *>(QString::fromLatin1(name));
    }

    QAction *menuItem(const char *text) const
    {
        for (QAction *action : chart->graphicMenu()->actions())
            if (action->text() == QLatin1String(text))
                return action;
        return nullptr;
    }

    QValueAxis *axis(Qt::Orientation orientation) const
    {
        auto *view = chart->findChild<QChartView *>();
        return qobject_cast<QValueAxis *>(view->chart()->axes(orientation).first());
    }

    // Drags a rectangle over the middle half of the plot's width, as a user zooms.
    void dragZoom()
    {
        auto *view = chart->findChild<QChartView *>();
        const QRectF plot = view->chart()->plotArea();
        QWidget *surface = view->viewport();
        const QPoint from = view->mapFromScene(plot.topLeft() + QPointF(plot.width() / 4, 5));
        const QPoint to = view->mapFromScene(plot.bottomRight() - QPointF(plot.width() / 4, 5));
        QTest::mousePress(surface, Qt::LeftButton, {}, from);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
        settle();
    }

    RecordedMessages messages;  // outlives the chart, which reports to it
    QWidget window;
    TrendChart *chart = nullptr;
};

int pixelsOf(const QImage &image, const QColor &colour, int rows = -1)
{
    int count = 0;
    for (int y = 0; y < (rows < 0 ? image.height() : rows); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

const QColor kAreaFill(255, 255, 128);
const QColor kLinePen(128, 255, 0);

TEST_F(TrendChartTest, ToolbarAndMenuDriveTheSameNavigation)
{
    std::vector<bool> liveChanges;
    QObject::connect(chart, &TrendChart::chartLiveChanged,
                     [&liveChanges](bool live) { liveChanges.push_back(live); });
    feed(250, 1000);
    ASSERT_EQ(child<QToolButton>("Bt10")->text(), "3");

    struct Step {
        const char *button;  // clicked on the toolbar, or else
        const char *item;    // chosen in the "Graphic" menu
        const char *page;
        bool first, previous, next, last;
    };
    const std::vector<Step> steps{
        {"BtFirst", nullptr, "1", false, false, true, true},
        {nullptr, "Previous", "1", false, false, true, true},
        {nullptr, "Next", "2", true, true, true, true},
        {"BtNext", nullptr, "3", true, true, true, true},
        {nullptr, "Next", "3", true, true, false, false},
        {"BTPrevious", nullptr, "2", true, true, true, true},
        {nullptr, "Last", "3", true, true, false, false},
    };
    for (const Step &step : steps) {
        if (step.button)
            child<QToolButton>(step.button)->click();
        else
            menuItem(step.item)->trigger();
        SCOPED_TRACE(step.button ? step.button : step.item);
        EXPECT_EQ(child<QToolButton>("Bt10")->text(), step.page);
        EXPECT_EQ(child<QToolButton>("BtFirst")->isEnabled(), step.first);
        EXPECT_EQ(child<QToolButton>("BTPrevious")->isEnabled(), step.previous);
        EXPECT_EQ(child<QToolButton>("BtNext")->isEnabled(), step.next);
        EXPECT_EQ(child<QToolButton>("BTlast")->isEnabled(), step.last);
    }
    EXPECT_EQ(liveChanges, (std::vector<bool>{false, false, false, false, false, false, true}));
}

TEST_F(TrendChartTest, FillCheckBoxAndMenuItemAgreeAndPickTheSeries)
{
    feed(50, 20000);
    QCheckBox *fill = child<QCheckBox>("BtFill");
    QAction *item = menuItem("Fill");
    const QImage area = chart->picture();
    EXPECT_GT(pixelsOf(area, kAreaFill), 1000);
    EXPECT_EQ(pixelsOf(area, kLinePen), 0);

    fill->click();
    EXPECT_FALSE(item->isChecked());
    const QImage line = chart->picture();
    EXPECT_EQ(pixelsOf(line, kAreaFill), 0);
    EXPECT_GT(pixelsOf(line, kLinePen), 100);

    item->trigger();
    EXPECT_TRUE(fill->isChecked());
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(chart->picture(), area) << "switching back shows the same points as an area";
    item->trigger();
    EXPECT_FALSE(fill->isChecked());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(chart->picture(), line);
}

TEST_F(TrendChartTest, ResetLeavesOnlyTheSamplePointAndTheCaption)
{
    feed(250, 20000);
    child<QToolButton>("BtFirst")->click();
    child<QToolButton>("BtNext")->click();
    child<QToolButton>("BtNew")->click();
    settle();
    EXPECT_EQ(child<QToolButton>("Bt10")->text(), "2");
    EXPECT_EQ(chart->chartPageCount(), 1);
    EXPECT_EQ(pixelsOf(chart->picture(), kAreaFill), 0) << "page 2 of a reset chart is empty";
    child<QToolButton>("BtFirst")->click();
    feed(1, 20000);
    EXPECT_GT(pixelsOf(chart->picture(), kAreaFill), 100) << "x = 1 is drawn on page 1";
}

TEST_F(TrendChartTest, PointsPerPageField)
{
    feed(250, 1000);
    QLineEdit *field = child<QLineEdit>("Maxrecord");
    field->selectAll();
    QTest::keyClicks(field, "x0");
    EXPECT_EQ(field->text(), "0");
    EXPECT_EQ(chart->chartPageCount(), 1);
    EXPECT_EQ(child<QToolButton>("Bt10")->text(), "3") << "the page counter keeps its text";
    EXPECT_TRUE(messages.errors.isEmpty());

    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(messages.errors, QStringList{"'' is not a valid integer value"});
    EXPECT_EQ(chart->chartPageCount(), 1) << "the points per page keep their value";
    QTest::keyClicks(field, "50");
    EXPECT_EQ(chart->chartPageCount(), 6);
}

TEST_F(TrendChartTest, EnlargeOverTheWindowAndRestore)
{
    QWidget gauge(&window);  // another control of the window, placed later than the chart
    gauge.setGeometry(400, 40, 100, 50);
    gauge.show();
    QToolButton *enlarge = child<QToolButton>("TbFd");
    QToolButton *restore = child<QToolButton>("TbSx");
    enlarge->click();
    EXPECT_EQ(chart->geometry(), QRect(2, 28, 708, 435));
    EXPECT_TRUE(chart->isAncestorOf(window.childAt(450, 60))) << "the chart lies above the others";
    EXPECT_FALSE(enlarge->isVisible());
    EXPECT_TRUE(restore->isVisible());
    restore->click();
    EXPECT_EQ(chart->geometry(), QRect(10, 100, 600, 300));
    EXPECT_TRUE(enlarge->isVisible());
    EXPECT_FALSE(restore->isVisible());
}

TEST_F(TrendChartTest, DraggedZoomHoldsUntilThePageChanges)
{
    feed(250, 1000);
    ASSERT_EQ(axis(Qt::Horizontal)->min(), 200);
    dragZoom();
    const double zoomedMin = axis(Qt::Horizontal)->min();
    const double zoomedMax = axis(Qt::Horizontal)->max();
    EXPECT_NEAR(zoomedMin, 225, 2);
    EXPECT_NEAR(zoomedMax, 275, 2);
    EXPECT_LT(axis(Qt::Vertical)->max(), 40000);

    feed(10, 2000);
    EXPECT_EQ(axis(Qt::Horizontal)->min(), zoomedMin) << "new points on the same page keep the zoom";
    EXPECT_EQ(axis(Qt::Horizontal)->max(), zoomedMax);
    child<QToolButton>("BtFirst")->click();
    settle();
    EXPECT_EQ(axis(Qt::Horizontal)->min(), 0);
    EXPECT_EQ(axis(Qt::Horizontal)->max(), 99);
    EXPECT_EQ(axis(Qt::Vertical)->min(), -40000) << "the value axis is the program's again";
    EXPECT_EQ(axis(Qt::Vertical)->max(), 40000);
}

TEST_F(TrendChartTest, DraggedZoomOfAllPointsOnOnePageHoldsUntilNavigation)
{
    child<QLineEdit>("Maxrecord")->setText("0");
    feed(250, 1000);
    ASSERT_EQ(axis(Qt::Horizontal)->max(), 250);
    feed(10, 1000);
    EXPECT_EQ(axis(Qt::Horizontal)->max(), 260) << "unzoomed, the page grows with its points";
    dragZoom();
    const double zoomedMax = axis(Qt::Horizontal)->max();
    ASSERT_LT(zoomedMax, 250);

    feed(10, 2000);
    EXPECT_EQ(axis(Qt::Horizontal)->max(), zoomedMax) << "new points keep the zoom";
    child<QToolButton>("BTlast")->click();
    settle();
    EXPECT_EQ(axis(Qt::Horizontal)->min(), 0);
    EXPECT_EQ(axis(Qt::Horizontal)->max(), 270);
    EXPECT_EQ(axis(Qt::Vertical)->max(), 40000);
    feed(10, 1000);
    EXPECT_EQ(axis(Qt::Horizontal)->max(), 280) << "and the page grows again";
}

struct TrendChartPictureTest : TrendChartTest {
    TrendChartPictureTest() { QDir::setCurrent(dir.path()); }
    ~TrendChartPictureTest() override { QDir::setCurrent(QDir::rootPath()); }
    QTemporaryDir dir;
};

TEST_F(TrendChartPictureTest, SaveWritesThePictureThenTellsWhere)
{
    feed(50, 20000);
    const QString path = QDir(dir.path()).absoluteFilePath("databmp.bmp");
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("old");
    stale.close();

    menuItem("Save")->trigger();
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(messages.informations, QStringList{"graphic has saved on " + path});
    const QImage written(path, "BMP");
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.size(), chart->size());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), chart->picture());
}

TEST_F(TrendChartPictureTest, SaveThatCannotWriteSaysSo)
{
    // A directory in the file's place cannot be replaced by a file, even by root.
    ASSERT_TRUE(QDir(dir.path()).mkdir("databmp.bmp"));
    child<QToolButton>("BtSave")->click();
    EXPECT_TRUE(messages.informations.isEmpty());
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].startsWith("graphic could not be saved on " +
                                              QDir(dir.path()).absoluteFilePath("databmp.bmp")))
        << messages.errors[0].toStdString();
}

TEST_F(TrendChartTest, MillionPointPageStillShowsASingleSpike)
{
    child<QCheckBox>("BtFill")->click();
    child<QLineEdit>("Maxrecord")->setText("0");
    const auto drawn = [this](bool spike) {
        chart->BtNewClick();
        for (int i = 0; i < 1'000'000; ++i) {
            const double value = spike && i == 654'321 ? 40000 : -1000;
            chart->Series1Add(value);
            chart->Series2Add(value);
        }
        settle();
        const QImage picture = chart->picture();
        // The readings run along the middle; only the spike reaches the upper third.
        return std::pair(pixelsOf(picture, kLinePen), pixelsOf(picture, kLinePen, picture.height() / 3));
    };
    const auto [flat, flatHigh] = drawn(false);
    EXPECT_GT(flat, 300);
    EXPECT_EQ(flatHigh, 0);
    const auto [spiked, spikedHigh] = drawn(true);
    EXPECT_GT(spikedHigh, 30) << "the spike rises to the top";
    EXPECT_GT(spiked, flat + spikedHigh);
}

} // namespace
