#include "process_rig.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kx::process::testing {

Reports parseReports(const QByteArray &out)
{
    Reports reports;
    QList<QByteArray> lines = out.split('\n');
    lines.removeLast(); // empty, or a line the kill cut short
    for (const QByteArray &line : lines) {
        const QStringList f = QString::fromUtf8(line).split(u'\t');
        const std::int64_t at = f.last().toLongLong();
        if (f[0] == u"record" && f.size() == 8)
            reports.records.push_back({f[1].toInt(), f[2], f[3], f[4], f[5], f[6], at});
        else if (f[0] == u"connected" || f[0] == u"not connected")
            reports.connected = f[0] == u"connected", reports.connectedAt = at;
        else if (f[0] == u"saving")
            reports.savingAt = at;
        else if (f[0] == u"saved")
            reports.savedAt = at;
        else
            ADD_FAILURE() << "unknown report: " << line.toStdString();
    }
    return reports;
}

WindowRun::WindowRun(const Build &build, const QString &workDir, const QProcessEnvironment &env,
                     const QString &outputStem)
    : m_build(build)
    , m_out(outputStem + QStringLiteral(".out"))
    , m_err(outputStem + QStringLiteral(".err"))
{
    m_process.setProcessEnvironment(env);
    m_process.setWorkingDirectory(workDir);
    m_process.setStandardOutputFile(m_out);
    m_process.setStandardErrorFile(m_err);
}

WindowRun::~WindowRun()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(10000);
    }
}

void WindowRun::start(const QStringList &args)
{
    m_process.start(QString::fromLocal8Bit(m_build.program), args);
    ASSERT_TRUE(m_process.waitForStarted()) << m_process.errorString().toStdString();
}

bool WindowRun::waitFor(const std::function<bool(const Reports &)> &done, int milliseconds)
{
    const std::int64_t until = nowNs() + std::int64_t(milliseconds) * 1'000'000;
    while (!done(reports())) {
        if (nowNs() > until || m_process.waitForFinished(5))
            return done(reports());
    }
    return true;
}

std::int64_t WindowRun::kill()
{
    if (m_process.waitForFinished(0))
        return -1;
    const std::int64_t at = nowNs();
    m_process.kill();
    EXPECT_TRUE(m_process.waitForFinished(10000));
    return at;
}

int WindowRun::finish(int milliseconds)
{
    if (!m_process.waitForFinished(milliseconds)) {
        kill();
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

std::vector<SentReading> readSimulatorLog(const QString &path)
{
    std::vector<SentReading> sent;
    for (const QByteArray &line : fileBytes(path).split('\n')) {
        const QJsonObject frame = QJsonDocument::fromJson(line).object();
        if (!frame.isEmpty())
            sent.push_back({frame[u"DisplayText"].toString(), frame[u"UnitText"].toString()});
    }
    return sent;
}

ProcessTest::ProcessTest()
    : m_env(QProcessEnvironment::systemEnvironment())
{
    QDir(m_dir.path()).mkpath(QStringLiteral("work"));
    m_env.insert(QStringLiteral("XDG_STATE_HOME"), path(QStringLiteral("state")));
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
}

QStringList ProcessTest::recoveryFiles() const
{
    return QDir(path(QStringLiteral("state/kx52b"))).entryList(QDir::Files);
}

void ProcessTest::startSimulator(const Build &build)
{
    m_simulator = std::make_unique<test::Simulator>(
        QStringLiteral(KX52B_SIM),
        QStringList{QStringLiteral("--family"), QString::fromLatin1(build.family), QStringLiteral("--baud"),
                    QStringLiteral("19200"), QStringLiteral("--interval"), QStringLiteral("0")},
        simulatorLog());
    ASSERT_FALSE(m_simulator->port().isEmpty());
    m_env.insert(QStringLiteral("KX52B_COM1"), m_simulator->port());
}

std::unique_ptr<WindowRun> ProcessTest::window(const Build &build, const QString &outputStem) const
{
    return std::make_unique<WindowRun>(build, work(), m_env, path(outputStem));
}

bool ProcessTest::runToEnd(const Build &build, const QStringList &args, const QString &outputStem,
                           int milliseconds) const
{
    const std::unique_ptr<WindowRun> run = window(build, outputStem);
    run->start(args);
    const int status = run->finish(milliseconds);
    EXPECT_EQ(status, 0) << outputStem.toStdString() << ": " << run->errors().toStdString();
    return status == 0;
}

} // namespace kx::process::testing
