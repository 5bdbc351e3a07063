// The window as the user first sees it, in the build being tested, and its start without a log.

#include "display/analog_gauge.h"
#include "link/serial_port_driver.h"
#include "log/trend_chart.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

namespace kx::app::testing {
namespace {

struct BuildFacts {
    const char *title;
    int fullScale;
    const char *setmax;
    const char *setmin;
    double layoutAxis;
};

#if defined(KX52B_BUILD_40K)
constexpr BuildFacts kBuild{"rv410/450 Interface Program _Ver: 0.01", 40000, "40000", "-40000", 41000};
#else
constexpr BuildFacts kBuild{"rv210/230 Interface Program _Ver: 2.01", 4000, "6000", "-6000", 4100};
#endif

using WindowStartup = WindowFixture;

TEST_F(WindowStartup, OpensWithTheProfileOfItsBuild)
{
    TFCOMM &w = open();
    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(kBuild.title));
    EXPECT_EQ(w.centralWidget()->size(), buildWindowLayout().visibleClient);
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "the size is fixed";

    EXPECT_FALSE(w.COMM2().IsConnected());
    EXPECT_EQ(w.COMM2().ComPort(), link::TComPortNumber::pnCOM1);
    EXPECT_EQ(w.COMM2().ComPortSpeed(), link::TComPortBaudRate::br2400);

    EXPECT_EQ(child<QLineEdit>("Setmax")->text(), QString::fromLatin1(kBuild.setmax));
    EXPECT_EQ(child<QLineEdit>("SetMin")->text(), QString::fromLatin1(kBuild.setmin));
    EXPECT_FALSE(child<QCheckBox>("SetMaxB")->isChecked());
    EXPECT_EQ(w.meter().state.MaxLimit, float(kBuild.fullScale + 2));
    EXPECT_EQ(w.meter().state.MinLimit, float(-(kBuild.fullScale + 2)));

    // The needle stands at the top of the arc, 4 pixels below it.
    const auto *gauge = child<display::AnalogGauge>("KD");
    EXPECT_EQ(gauge->NeedleTip().y, 34);
    EXPECT_FALSE(gauge->surface().isNull());

    const auto *chart = child<log::TrendChart>("Chtshow");
    EXPECT_EQ(chart->valueAxisMinimum(), -kBuild.fullScale);
    EXPECT_EQ(chart->valueAxisMaximum(), kBuild.fullScale);

    EXPECT_TRUE(child("CONokN")->isVisible());
    EXPECT_FALSE(child("CONok")->isVisible());
    EXPECT_FALSE(child("oltext")->isVisible());
    EXPECT_TRUE(boxes.errors.isEmpty());
}

TEST_F(WindowStartup, ControlsSitWhereTheResizeRulePutsThem)
{
    open();
#if defined(KX52B_BUILD_40K)
    const QRect grid{3, 254, 334, 208}, chart{338, 177, 371, 285}, gauge{339, 31, 371, 143};
    const int exitLeft = 640;
#else
    const QRect grid{3, 254, 284, 152}, chart{288, 173, 322, 233}, gauge{290, 31, 319, 139};
    const int exitLeft = 542;
    EXPECT_EQ(child("KD2")->geometry(), QRect(294, 39, 317, 133));
#endif
    EXPECT_EQ(child("DBGrid1")->geometry(), grid);
    EXPECT_EQ(child("Chtshow")->geometry(), chart);
    EXPECT_EQ(child("KD")->geometry(), gauge);
    EXPECT_EQ(child("BtExit")->x(), exitLeft);
    EXPECT_EQ(child("BTCon")->x(), exitLeft - 110);
    // Anchored by its middle, "COM Connect" ends up about 3 pixels from the top.
    EXPECT_NEAR(child("COMCon")->y(), 3, 1);
}

TEST_F(WindowStartup, MenuBarHoldsItsItemsInOrder)
{
    open();
    QStringList titles;
    for (QAction *item : window->menuBar()->actions())
        titles << item->text();
    EXPECT_EQ(titles, (QStringList{"ComSetup", "Connect", "", "Graphic", "Record", "", "Exit"}));
}

TEST_F(WindowStartup, TheProfileFlagsAreHiddenAndFixedByTheBuild)
{
    open();
    const auto *rv210 = child<QCheckBox>("IFRV210");
    ASSERT_NE(rv210, nullptr);
    EXPECT_TRUE(rv210->isChecked());
    EXPECT_FALSE(rv210->isVisible());
    EXPECT_FALSE(child<QCheckBox>("IFKX52B")->isChecked());
}

TEST_F(WindowStartup, EveryVisibleControlHasAnAccessibleName)
{
    open();
    QStringList unnamed;
    for (QWidget *control : window->centralWidget()->findChildren<QWidget *>()) {
        const bool interactive = qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control)
                                 || qobject_cast<QProgressBar *>(control);
        // Controls of the program's own have names; unnamed ones are the toolkit's inner parts.
        if (interactive && control->isVisibleTo(window.get()) && control->accessibleName().isEmpty()
            && !control->objectName().isEmpty() && !control->objectName().startsWith("qt_"))
            unnamed << control->objectName() + " (" + control->metaObject()->className() + ")";
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
}

TEST_F(WindowStartup, WithoutItsLogTableItOpensButDecodesNothing)
{
    // A folder where the table file should be: the table cannot be opened.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Kx52bdb.db"));
    TFCOMM &w = open();
    EXPECT_EQ(boxes.errors.size(), 1);
    EXPECT_TRUE(w.windowTitle().isEmpty() || w.windowTitle() == QCoreApplication::applicationName());
    const auto *chart = child<log::TrendChart>("Chtshow");
    EXPECT_EQ(chart->valueAxisMaximum(), kBuild.layoutAxis);
    EXPECT_EQ(chart->valueAxisMinimum(), -kBuild.layoutAxis);
    EXPECT_TRUE(w.isVisible());
}

} // namespace
} // namespace kx::app::testing
