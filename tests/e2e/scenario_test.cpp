// Each program as a user runs it: a meter streams a scenario through every function and range of
// its family, over the serial line from the simulator and through the USB cable, with limits set
// and every frame logged. What the window shows is held to the build's headless decoder frame by
// frame; the log's export to the scenario line by line; a saved and reopened log exports the same
// bytes.

#include "link/serial_port_driver.h"
#include "log/log_grid.h"
#include "log/log_record.h"
#include "log/log_table.h"
#include "tests/app/window_fixture.h"
#include "tests/e2e/reference.h"
#include "tests/e2e/scenario.h"
#include "tests/e2e/window_watch.h"
#include "tests/support/adapter_reports.h"
#include "tests/support/simulator.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <thread>

namespace kx::e2e {
namespace {

#if defined(KX52B_BUILD_40K)
const Limits kLimits{QStringLiteral("30000"), QStringLiteral("-20000")};
#else
const Limits kLimits{QStringLiteral("3000"), QStringLiteral("-2000")};
#endif
constexpr int kStreamMilliseconds = 60'000;

class Scenario : public app::testing::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        frames = buildScenario();
        ASSERT_GE(frames.size(), 1000u);
        expected = referenceDecoding(scenarioBytes(frames), kLimits, dir.path());
        expectShownAsWritten(frames, expected);
    }

    // The user's settings: both limits typed and ticked, every frame logged (no repeat filter, a
    // sampling interval of 0), a record limit that holds the scenario.
    void setUpTheWindow()
    {
        open();
        child<QLineEdit>("Setmax")->setText(kLimits.max);
        child<QAbstractButton>("SetMaxB")->click();
        child<QLineEdit>("SetMin")->setText(kLimits.min);
        child<QAbstractButton>("SetMinB")->click();
        child<QAbstractButton>("RepeatSet")->click();
        child<QLineEdit>("RecordSITime")->setText(QStringLiteral("0"));
        child<QAbstractButton>("RecordSI")->click();
        window->findChild<QAction *>(QStringLiteral("N50001"))->trigger();
        watch = std::make_unique<WindowWatch>(*window, expected, beeps);
    }

    void streamIsShown()
    {
        ASSERT_TRUE(waitFor([&] { return watch->frames() >= frames.size(); }, kStreamMilliseconds))
            << watch->frames() << " of " << frames.size() << " frames logged";
        // The grid follows the newest record a moment later.
        const auto *grid = child<log::LogGrid>("DBGrid1");
        waitFor([&] { return grid->currentRecord() + 1 == window->T38BDB().count(); });
        watch->checkEnd();
        EXPECT_TRUE(watch->mismatches().isEmpty()) << watch->mismatches().toStdString();
        EXPECT_FALSE(child("FrameFailures")->isVisible());
        EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join(u'\n').toStdString();
    }

    QByteArray exportAs(const char *name)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        dialogs.answers.push_back(path);
        child<QToolButton>("saveas")->click();
        return log::testing::fileBytes(path);
    }

    // The tab-separated export, line by line the scenario's readings as the meter showed them;
    // the log saved as a table and opened again exports the very same bytes.
    void exportsMatchTheScenario()
    {
        const QByteArray exported = exportAs("export.txt");
        const QList<QByteArray> lines = exported.split('\n');
        ASSERT_EQ(lines.size(), qsizetype(frames.size() + 2)) << "a header, a line per frame, CR LF after each";
        EXPECT_EQ(lines.front().toStdString(), "No\tTime\tDC/AC\tValue\tUnit\tAUTO\r");
        EXPECT_TRUE(lines.back().isEmpty());
        const QString time = log::TimeOfDayText()(clock.time);
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const Expected &e = expected[i];
            const QString line = QStringList{QString::number(i + 1), time, e.CouplingText, e.DisplayText, e.UnitText,
                                             e.RangeModeText}
                                     .join(u'\t')
                               + u'\r';
            ASSERT_EQ(lines[qsizetype(i) + 1].toStdString(), line.toStdString())
                << "line " << i + 2 << ", frame " << frames[i].lastFrame;
        }

        const QString saved = dir.filePath(QStringLiteral("saved.db"));
        dialogs.answers.push_back(saved);
        child<QToolButton>("saveas")->click();
        dialogs.answers.push_back(saved);
        child<QToolButton>("OpenDataFiles")->click();
        ASSERT_TRUE(window->T38BDB().isOpenFile(saved)) << boxes.errors.join(u'\n').toStdString();
        const QByteArray again = exportAs("again.txt");
        EXPECT_EQ(again.size(), exported.size());
        EXPECT_TRUE(again == exported) << "the reopened log exports other bytes";
        EXPECT_TRUE(boxes.errors.isEmpty()) << boxes.errors.join(u'\n').toStdString();
    }

    // What the simulator sends: the lead-in, if any, then the scenario.
    std::vector<ScenarioFrame> framesOnTheLine() const
    {
        std::vector<ScenarioFrame> line;
        if (!leadIn().lastFrame.empty())
            line.push_back(leadIn());
        line.insert(line.end(), frames.begin(), frames.end());
        return line;
    }

    std::vector<ScenarioFrame> frames;
    std::vector<Expected> expected;
    std::unique_ptr<WindowWatch> watch;
};

TEST_F(Scenario, FromTheSimulatorOnCom1)
{
    const QString framesFile = dir.filePath(QStringLiteral("scenario.frames"));
    {
        QFile file(framesFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const ScenarioFrame &f : framesOnTheLine())
            file.write(QByteArray::fromStdString(f.lastFrame + "\n"));
    }
    const int sent = int(framesOnTheLine().size());
    // A fast meter: several frames reach each poll of the port.
    test::Simulator sim(KX52B_SIM,
                        {"--family", simulatorFamily(), "--frames-file", framesFile, "--count", QString::number(sent),
                         "--interval", "2", "--baud", "0"},
                        dir.filePath(QStringLiteral("sim.log")));
    ASSERT_FALSE(sim.port().isEmpty());
    qputenv("KX52B_COM1", sim.port().toUtf8());
    setUpTheWindow();
    // The simulator starts sending once the port is open.
    child<QPushButton>("COMCon")->click();
    qunsetenv("KX52B_COM1");
    ASSERT_TRUE(window->COMM2().IsConnected()) << boxes.shown.join(u'\n').toStdString();

    streamIsShown();
    child<QPushButton>("COMCon")->click();
    EXPECT_FALSE(window->COMM2().IsConnected());
    exportsMatchTheScenario();
}

TEST_F(Scenario, ThroughTheUsbCable)
{
    link::test::TestHidDevice adapter;
    adapter.InstanceID = "usb-e2e";
    hid->plug(adapter);
    setUpTheWindow();
    child<QPushButton>("USBCon")->click();
    ASSERT_TRUE(waitFor([&] { return hid->readChannels(adapter.InstanceID) == 1; }));

    // The adapter's reports come from a thread of their own, as from the device: the window's
    // thread takes each one over while the next waits.
    std::jthread meter([&] {
        for (const ScenarioFrame &f : frames)
            for (const link::test::Report &report : link::test::adapterReports(f.bytes))
                if (!hid->sendReport(adapter.InstanceID, report))
                    return;
    });
    streamIsShown();
    // Raising the button stops the reader, which also frees a meter thread stuck on a stuck window.
    child<QPushButton>("USBCon")->click();
    EXPECT_TRUE(waitFor([&] { return hid->readChannels(adapter.InstanceID) == 0; }));
    meter.join();
    exportsMatchTheScenario();
}

} // namespace
} // namespace kx::e2e
