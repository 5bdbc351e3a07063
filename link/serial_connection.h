#pragma once

#include "link/serial_settings.h"

#include <optional>
#include <string>

namespace kx::link {

// What the connection control needs of the serial driver.
class SerialPortHandle {
public:
    virtual ~SerialPortHandle() = default;
    // Ignored by the driver while a port is open.
    virtual void selectPort(TComPortNumber port) = 0;
    virtual bool open() = 0;
    virtual void close() = 0;
    // The system's reason for the last failed open or for the loss of the open port.
    virtual std::string failureText() const = 0;
    // The device a COM name maps to now; empty when there is none.
    virtual std::string devicePath() const = 0;
};

// The state the port controls show: which port is chosen and whether it is open. The menu items,
// panels and buttons follow it (SerialConnectionControls).
struct SerialControlsView {
    TComPortNumber port = TComPortNumber::pnCOM1;
    bool connected = false;
    // "STOP" stays checked after a disconnect until the next connect.
    bool stopChecked = false;

    bool portChoiceEnabled() const { return !connected; } // `ComSetup1` and the four panels
    bool startChecked() const { return connected; }
    bool startEnabled() const { return !connected; }
    bool stopEnabled() const { return connected; }
};

// The serial connection control without widgets: port choice, connect, disconnect and the loss of
// an open port. A port that cannot be opened leaves the controls closed and says why, instead of
// showing a connection that is not there.
class SerialConnection {
public:
    explicit SerialConnection(SerialPortHandle &port);

    const SerialControlsView &view() const { return m_view; }

    // A menu item "COM1".."COM4".
    void selectPort(TComPortNumber port);
    // A click on the shown panel: COM1 -> COM2 -> COM3 -> COM4 -> COM1.
    void selectNextPort();
    // "Connect" / "START" / "COM Connect" pressed: the message to show when the port did not open.
    std::optional<std::string> connect();
    // "Disconnect" / "STOP" / "COM Connect" raised.
    void disconnect();
    // The driver lost the open port (meter unplugged): the controls return to closed; the message
    // says which port went and why.
    std::string connectionLost();

    // "COM1 (/dev/ttyUSB0)", or "COM1" when the name maps to no device.
    std::string portDescription() const;

private:
    SerialPortHandle &m_port;
    SerialControlsView m_view;
};

// Why a port did not open, as the user can act on it: the port and its device, the system's
// reason, and the remedy for a missing permission or a port in use.
std::string openFailureMessage(const std::string &port, const std::string &reason);

} // namespace kx::link
