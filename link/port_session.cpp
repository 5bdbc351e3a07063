#include "link/port_session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>

namespace kx::link {
namespace {

std::string describe(const TSerialPortDriver &driver)
{
    const std::string device = driver.DevicePath();
    const std::string name = driver.PortName();
    return device.empty() || device == name ? name : name + " (" + device + ")";
}

} // namespace

std::optional<std::string> runPortSession(const PortSession &session)
{
    std::unique_ptr<QCoreApplication> ownApp;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "kx52b";
        static char *argv[] = {name, nullptr};
        ownApp = std::make_unique<QCoreApplication>(argc, argv);
    }

    TSerialPortDriver driver;
    SelectPort(driver, session.portName);
    driver.SetComPortSpeed(session.speed);
    QEventLoop loop;
    std::optional<std::string> failure;
    driver.OnReceiveData = [&](TSerialPortDriver *sender, const char *data, std::int32_t size) {
        if (session.receiver)
            session.receiver(sender, data, size);
        if (session.finished && session.finished())
            loop.quit();
    };
    driver.OnConnectionLost = [&](TSerialPortDriver *sender) {
        failure = describe(*sender) + " was lost: " + sender->LastError();
        loop.quit();
    };
    if (!driver.Connect())
        return "cannot open " + describe(driver) + ": " + driver.LastError();
    if (session.finished && session.finished())
        return std::nullopt;
    // A timer takes at most an int of milliseconds (some 24 days); a longer run re-arms it until
    // the end is reached.
    const QDeadlineTimer end(std::chrono::seconds(session.seconds));
    QTimer deadline;
    deadline.setSingleShot(true);
    const auto arm = [&] {
        deadline.start(static_cast<int>(std::min<qint64>(end.remainingTime(), std::numeric_limits<int>::max())));
    };
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        if (end.hasExpired())
            loop.quit();
        else
            arm();
    });
    if (session.seconds > 0)
        arm();
    loop.exec();
    return failure;
}

} // namespace kx::link
