#include "link/serial_connection.h"

#include "link/com_port_map.h"

#include <array>
#include <string_view>

namespace kx::link {

namespace {

// Remedies for the failures a user can fix, keyed by the system's text.
struct Remedy {
    std::string_view reason;
    std::string_view advice;
};
constexpr std::array<Remedy, 3> kRemedies{{
    {"Permission denied",
     "Your user may not open serial ports: add it to the \"dialout\" group (sudo adduser $USER dialout), "
     "then log out and in again."},
    {"Device or resource busy", "Another program, or another copy of this one, is using the port."},
    {"No such file or directory", "The device is not there: check that the cable is plugged in."},
}};

} // namespace

SerialConnection::SerialConnection(SerialPortHandle &port)
    : m_port(port)
{
    m_port.selectPort(m_view.port);
}

void SerialConnection::selectPort(TComPortNumber port)
{
    m_view.port = port;
    m_port.selectPort(port);
}

void SerialConnection::selectNextPort()
{
    selectPort(static_cast<TComPortNumber>((static_cast<int>(m_view.port) + 1) % 4));
}

std::optional<std::string> SerialConnection::connect()
{
    if (!m_port.open())
        return openFailureMessage(portDescription(), m_port.failureText());
    m_view.connected = true;
    m_view.stopChecked = false;
    return std::nullopt;
}

void SerialConnection::disconnect()
{
    m_port.close();
    m_view.connected = false;
    m_view.stopChecked = true;
}

std::string SerialConnection::connectionLost()
{
    std::string message = portDescription() + " went away: " + m_port.failureText()
                          + ". Press \"COM Connect\" again once the meter's cable is back.";
    disconnect();
    return message;
}

std::string SerialConnection::portDescription() const
{
    const std::string device = m_port.devicePath();
    const std::string name = comPortName(m_view.port);
    return device.empty() ? name : name + " (" + device + ")";
}

std::string openFailureMessage(const std::string &port, const std::string &reason)
{
    std::string message = "Cannot open " + port + ": " + reason + ".";
    for (const Remedy &remedy : kRemedies)
        if (reason.find(remedy.reason) != std::string::npos)
            message.append(" ").append(remedy.advice);
    return message;
}

} // namespace kx::link
