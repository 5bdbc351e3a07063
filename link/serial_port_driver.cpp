#include "link/serial_port_driver.h"

#include "link/com_port_map.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

namespace kx::link {

TSerialPortDriver::TSerialPortDriver(QObject *owner) : QObject(owner), Buffer(2048)
{
    PollTimer.setParent(this);
    QObject::connect(&PollTimer, &QTimer::timeout, this, &TSerialPortDriver::PollTick);
}

TSerialPortDriver::~TSerialPortDriver() { Disconnect(); }

bool TSerialPortDriver::Connect()
{
    if (IsConnected())
        return true;
    const std::string path = DevicePath();
    if (path.empty()) {
        LastErrorText = "no serial device found for " + comPortName(Port) + " (set KX52B_"
                        + comPortName(Port) + " to a device path)";
        return false;
    }
    if (std::string error = Line.open(path); !error.empty()) {
        LastErrorText = std::move(error);
        return false;
    }
    OpenDevice = path;
    LastErrorText.clear();
    ApplySettings();
    StartPolling();
    return true;
}

void TSerialPortDriver::Disconnect()
{
    if (!IsConnected())
        return;
    PollTimer.stop();
    Line.close();
    OpenDevice.clear();
}

void TSerialPortDriver::ApplySettings()
{
    if (!IsConnected())
        return;
    Line.apply(Settings);
    PurgeBuffers(true, true);
    // Queue sizes would be requested here; Linux terminals have fixed queues.
}

void TSerialPortDriver::PurgeBuffers(bool Input, bool Output) { Line.purge(Input, Output); }

void TSerialPortDriver::PollTick()
{
    // A receiver that ran a nested event loop would let the timer poll again while the buffer is
    // still being read; the bytes wait in the port for the next tick instead.
    if (!IsConnected() || InsidePoll)
        return;
    const QScopedValueRollback<bool> polling(InsidePoll, true);
    const SerialLine::ReadResult result =
        Line.read(Buffer.data(), static_cast<std::int32_t>(Buffer.size()));
    if (!result.lostReason.empty()) {
        // An unplugged adapter reports the same failure on every read: close instead of polling on.
        LastErrorText = result.lostReason;
        Disconnect();
        if (OnConnectionLost)
            OnConnectionLost(this);
        return;
    }
    if (result.count > 0 && OnReceiveData)
        OnReceiveData(this, Buffer.data(), result.count);
}

std::string TSerialPortDriver::PortName() const
{
    return Device.empty() ? comPortName(Port) : Device;
}

std::string TSerialPortDriver::DevicePath() const
{
    if (IsConnected())
        return OpenDevice;
    return Device.empty() ? comPortDevicePath(Port) : Device;
}

void TSerialPortDriver::SetComPort(TComPortNumber Value)
{
    if (!IsConnected())
        Port = Value;
}

void TSerialPortDriver::SetComPortDevice(std::string Value)
{
    if (!IsConnected())
        Device = std::move(Value);
}

void TSerialPortDriver::StoreLineSetting(auto LineSettings::*Item, auto Value)
{
    Settings.*Item = Value;
    ApplySettings();
}

void TSerialPortDriver::SetComPortSpeed(TComPortBaudRate Value) { StoreLineSetting(&LineSettings::speed, Value); }
void TSerialPortDriver::SetComPortDataBits(TComPortDataBits Value) { StoreLineSetting(&LineSettings::dataBits, Value); }
void TSerialPortDriver::SetComPortStopBits(TComPortStopBits Value) { StoreLineSetting(&LineSettings::stopBits, Value); }
void TSerialPortDriver::SetComPortParity(TComPortParity Value) { StoreLineSetting(&LineSettings::parity, Value); }
void TSerialPortDriver::SetComPortHwHandshaking(TComPortHwHandshaking Value)
{
    StoreLineSetting(&LineSettings::hwHandshaking, Value);
}
void TSerialPortDriver::SetComPortSwHandshaking(TComPortSwHandshaking Value)
{
    StoreLineSetting(&LineSettings::swHandshaking, Value);
}

void TSerialPortDriver::SetComPortInBufSize(std::uint16_t Value)
{
    if (IsConnected())
        return;
    Buffer = std::vector<char>(Value);
}

void TSerialPortDriver::SetComPortPollingDelay(std::uint16_t Value)
{
    if (Value == PollingDelay)
        return;
    PollingDelay = Value;
    if (IsConnected()) {
        PollTimer.stop();
        StartPolling();
    }
}

void TSerialPortDriver::StartPolling()
{
    // A zero period would make the timer fire on every pass of the event loop and spin the CPU.
    PollTimer.start(std::max<int>(PollingDelay, 1));
}

void SelectPort(TSerialPortDriver &Driver, std::string_view Name)
{
    if (const auto port = comPortFromName(Name)) {
        Driver.SetComPortDevice({});
        Driver.SetComPort(*port);
    } else {
        Driver.SetComPortDevice(std::string(Name));
    }
}

} // namespace kx::link
