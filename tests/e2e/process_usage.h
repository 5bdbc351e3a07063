#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>

namespace kx::e2e {

// The process's resident memory in kilobytes, from /proc.
inline long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Runs the event loop for `milliseconds` and returns the share of one core the whole process used
// meanwhile (user and system time over wall time).
inline double coreShareWhileIdle(int milliseconds)
{
    const auto cpuMicroseconds = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto us = [](const timeval &t) { return double(t.tv_sec) * 1e6 + double(t.tv_usec); };
        return us(usage.ru_utime) + us(usage.ru_stime);
    };
    const double cpuBefore = cpuMicroseconds();
    QElapsedTimer wall;
    wall.start();
    // An event loop that sleeps between events, so the test's own waiting costs nothing.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuMicroseconds() - cpuBefore) / (double(wall.nsecsElapsed()) / 1e3);
}

} // namespace kx::e2e
