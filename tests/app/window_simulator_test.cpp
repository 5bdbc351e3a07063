// The window reading the meter simulator on COM1, as a user tries the program without a meter.

#include "link/serial_port_driver.h"
#include "log/log_table.h"
#include "log/trend_chart.h"
#include "tests/support/simulator.h"
#include "window_fixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>

namespace kx::app::testing {
namespace {

#if defined(KX52B_BUILD_40K)
constexpr const char *kFamily = "five-digit";
#else
constexpr const char *kFamily = "segment";
#endif

struct Shown {
    QString value;
    QString unit;
    bool operator==(const Shown &) const = default;
};

using WindowOnSimulator = WindowFixture;

TEST_F(WindowOnSimulator, ShowsAndLogsTheReadingsTheSimulatorSends)
{
    const QString logPath = dir.filePath("sim.log");
    QList<Shown> logged;
    {
        test::Simulator sim(KX52B_SIM, {"--family", kFamily, "--interval", "40"}, logPath);
        ASSERT_FALSE(sim.port().isEmpty());
        qputenv("KX52B_COM1", sim.port().toUtf8());
        open();
        child<QPushButton>("COMCon")->click();
        qunsetenv("KX52B_COM1");
        ASSERT_TRUE(window->COMM2().IsConnected());
        ASSERT_TRUE(waitFor([&] { return window->T38BDB().count() >= 8; }, 10'000));
        window->COMM2().Disconnect();
        window->T38BDB().forEach([&](const log::LogRecord &r) { logged.append({r.value, r.unit}); });
        waitFor([] { return false; }, 200); // the simulator logs a frame right after writing it
    }

    // Every logged reading is one the simulator sent, in the order it sent them.
    QFile log(logPath);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    QList<Shown> sent;
    for (const QByteArray &line : log.readAll().split('\n'))
        if (!line.isEmpty()) {
            const QJsonObject frame = QJsonDocument::fromJson(line).object();
            sent.append({frame["DisplayText"].toString(), frame["UnitText"].toString()});
        }
    qsizetype at = 0;
    for (const Shown &reading : logged) {
        while (at < sent.size() && !(sent[at] == reading))
            ++at;
        ASSERT_LT(at, sent.size()) << reading.value.toStdString() << " " << reading.unit.toStdString();
    }

    const meter::ReadingState &s = window->meter().state;
    EXPECT_EQ(QString::fromStdString(s.DisplayText), logged.last().value);
    EXPECT_TRUE(child("Panel1")->accessibleName().contains(logged.last().value.remove('L').left(3)))
        << child("Panel1")->accessibleName().toStdString();
    EXPECT_EQ(child<QLabel>("MaxText")->text(), QString::fromStdString(s.MaxDisplayText));
    // The chart starts afresh at each change of function or range; its newest point is the reading.
    const log::ChartPoints &points = child<log::TrendChart>("Chtshow")->paging().points(log::ChartSeries::Line);
    ASSERT_GE(points.size(), 2u);
    if (!logged.last().value.contains('L')) {
        EXPECT_EQ(points.values().back(), s.ReadingValue);
    }
}

} // namespace
} // namespace kx::app::testing
