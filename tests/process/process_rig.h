#pragma once

#include "tests/log/log_fakes.h"
#include "tests/support/simulator.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace kx::process::testing {

using log::testing::fileBytes;

// The monotonic clock the window under test stamps its reports with, in nanoseconds.
inline std::int64_t nowNs()
{
    return std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// One record the window under test said it appended to its log.
struct ReportedRecord {
    int no = 0;
    QString time; // HH:mm:ss
    QString value;
    QString coupling;
    QString unit;
    QString mode;
    std::int64_t at = 0;
};

// What one run of the window under test reported on its standard output.
struct Reports {
    std::vector<ReportedRecord> records;
    std::optional<bool> connected;
    std::int64_t connectedAt = -1;
    std::int64_t savingAt = -1;
    std::int64_t savedAt = -1;
};
Reports parseReports(const QByteArray &out);

// One build's window under test and the meter family its simulator plays.
struct Build {
    const char *program;
    const char *family;
};
inline const Build kBuild40k{KX52B_WINDOW_40K, "five-digit"};
inline const Build kBuild4k{KX52B_WINDOW_4K, "segment"};

// One run of the window under test, its output kept in files named after the run.
class WindowRun {
public:
    WindowRun(const Build &build, const QString &workDir, const QProcessEnvironment &env, const QString &outputStem);
    ~WindowRun();
    WindowRun(const WindowRun &) = delete;
    WindowRun &operator=(const WindowRun &) = delete;

    void start(const QStringList &args);
    // Polls the reports until `done` holds or the run ends or the time is up; `done`'s last answer.
    bool waitFor(const std::function<bool(const Reports &)> &done, int milliseconds);
    // SIGKILL; the moment it was sent, or -1 when the run had ended before.
    std::int64_t kill();
    // Waits for a normal end; the exit status, or -1 when it crashed or did not end in time.
    int finish(int milliseconds);

    Reports reports() const { return parseReports(fileBytes(m_out)); }
    QByteArray errors() const { return fileBytes(m_err); }

private:
    const Build &m_build;
    QProcess m_process;
    QString m_out;
    QString m_err;
};

// A run killed at a moment the test chose, and what it had reported by then.
struct KilledRun {
    std::vector<ReportedRecord> records;
    std::int64_t killedAt = 0;
};

// Frames the simulator says it sent, as the meter showed them.
struct SentReading {
    QString value;
    QString unit;
    bool operator==(const SentReading &) const = default;
};
std::vector<SentReading> readSimulatorLog(const QString &path);

struct ExportFigures {
    std::int64_t records = 0;
    // The longest span between a lost record's report and its run's kill.
    std::chrono::nanoseconds worstLoss{0};
    int runsWithRecordsKept = 0;
};

// What a kill may lose: the records of the last second, which a commit follows within a second;
// writing them, and a machine busy with the window, the simulator and the builds around them, get
// a second more.
inline constexpr std::chrono::milliseconds kMostLost{1000 + 1000};

// Checks the text export of the log restored after `runs` were killed one after another: one line
// per record, numbered on through the restores, each the record as its run reported it and a
// reading the simulator sent, in the order sent; only the records a run reported within
// `kMostLost` of its kill missing.
ExportFigures checkExport(const std::vector<KilledRun> &runs, const QByteArray &exported,
                          const std::vector<SentReading> &sent);

// A working directory and a state directory of the test's own; the simulator on a pty when started.
class ProcessTest : public ::testing::Test {
protected:
    ProcessTest();

    QString work(const QString &name = {}) const { return m_dir.filePath(QStringLiteral("work/") + name); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QStringList recoveryFiles() const;
    QString simulatorLog() const { return path(QStringLiteral("sim.log")); }

    // The meter of `build` streaming as fast as a 19200-baud line carries its frames.
    void startSimulator(const Build &build);
    std::unique_ptr<WindowRun> window(const Build &build, const QString &outputStem) const;
    // Runs the window under test to its end; false when it did not end normally with status 0.
    bool runToEnd(const Build &build, const QStringList &args, const QString &outputStem, int milliseconds = 60000) const;

    std::mt19937 random{std::random_device{}()};

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::unique_ptr<test::Simulator> m_simulator;
};

} // namespace kx::process::testing
