#include "link/port_session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

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
    QTimer deadline;
    if (session.seconds > 0) {
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.setSingleShot(true);
        deadline.start(session.seconds * 1000);
    }
    loop.exec();
    return failure;
}

} // namespace kx::link
