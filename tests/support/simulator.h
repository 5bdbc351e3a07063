#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace kx::test {

// The meter simulator playing on a pty of its own; stopped with the object.
class Simulator {
public:
    Simulator(const QString &program, const QStringList &arguments, const QString &log)
    {
        process_.start(program, arguments + QStringList{"--log", log});
        if (process_.waitForReadyRead(5000) || process_.canReadLine())
            port_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~Simulator()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // The pty a program opens to read the meter.
    const QString &port() const { return port_; }

private:
    QProcess process_;
    QString port_;
};

} // namespace kx::test
