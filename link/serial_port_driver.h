#pragma once

#include "link/serial_line.h"
#include "link/serial_settings.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kx::link {

class TSerialPortDriver;

// A block of received bytes; DataSize is at least 1. The bytes belong to the driver and are valid
// only during the call: the next tick overwrites them.
using TComPortReceiveDataEvent =
    std::function<void(TSerialPortDriver *Sender, const char *DataPtr, std::int32_t DataSize)>;

// Raised once when an open port goes away (adapter unplugged, line hung up): the driver has already
// stopped polling and closed it; LastError() says why.
using TComPortLostEvent = std::function<void(TSerialPortDriver *Sender)>;

// Owns one serial port: opens it by its COM name (or a device path), applies the line settings
// held in its properties and, while open, polls it on a timer of the thread that created it,
// handing every non-empty block to OnReceiveData. It only receives.
class TSerialPortDriver : public QObject {
public:
    explicit TSerialPortDriver(QObject *owner = nullptr);
    ~TSerialPortDriver() override;

    // Opens the port and starts polling; true when connected afterwards. Already connected: true,
    // nothing reopened or re-applied. On false, LastError() holds the reason.
    bool Connect();
    void Disconnect();
    bool IsConnected() const { return Line.isOpen(); }
    // Pushes the line settings to the open port and discards what waits in both directions.
    void ApplySettings();
    void PurgeBuffers(bool Input, bool Output);

    // One poll: reads what has arrived (up to ComPortInBufSize bytes) and hands it on. The timer
    // runs this; callers may run it to poll at once.
    void PollTick();

    // The system's text for the last failed Connect or for the loss of an open port; empty after
    // a successful Connect.
    const std::string &LastError() const { return LastErrorText; }

    // "COM1" to "COM4", or the device path when one is set.
    std::string PortName() const;
    // The device Connect opens (or has opened): ComPortDevice when set, otherwise the mapping of
    // ComPort; empty when no device is known for that COM port.
    std::string DevicePath() const;

    TComPortNumber ComPort() const { return Port; }
    void SetComPort(TComPortNumber Value);
    // A device path opened instead of the COM port's device; empty to use the COM mapping.
    const std::string &ComPortDevice() const { return Device; }
    void SetComPortDevice(std::string Value);
    TComPortBaudRate ComPortSpeed() const { return Settings.speed; }
    void SetComPortSpeed(TComPortBaudRate Value);
    TComPortDataBits ComPortDataBits() const { return Settings.dataBits; }
    void SetComPortDataBits(TComPortDataBits Value);
    TComPortStopBits ComPortStopBits() const { return Settings.stopBits; }
    void SetComPortStopBits(TComPortStopBits Value);
    TComPortParity ComPortParity() const { return Settings.parity; }
    void SetComPortParity(TComPortParity Value);
    TComPortHwHandshaking ComPortHwHandshaking() const { return Settings.hwHandshaking; }
    void SetComPortHwHandshaking(TComPortHwHandshaking Value);
    TComPortSwHandshaking ComPortSwHandshaking() const { return Settings.swHandshaking; }
    void SetComPortSwHandshaking(TComPortSwHandshaking Value);
    std::uint16_t ComPortInBufSize() const { return static_cast<std::uint16_t>(Buffer.size()); }
    void SetComPortInBufSize(std::uint16_t Value);
    // Linux has no adjustable driver queues; the size is kept for the record only.
    std::uint16_t ComPortOutBufSize() const { return OutBufSize; }
    void SetComPortOutBufSize(std::uint16_t Value) { OutBufSize = Value; }
    std::uint16_t ComPortPollingDelay() const { return PollingDelay; }
    void SetComPortPollingDelay(std::uint16_t Value);
    bool EnableDTROnOpen() const { return Settings.dtrOn; }
    void SetEnableDTROnOpen(bool Value) { Settings.dtrOn = Value; }
    // No operation sends, so this has no effect; kept with the other line properties.
    std::int32_t OutputTimeout() const { return OutputTimeoutMs; }
    void SetOutputTimeout(std::int32_t Value) { OutputTimeoutMs = Value; }

    TComPortReceiveDataEvent OnReceiveData;
    TComPortLostEvent OnConnectionLost;

private:
    void StoreLineSetting(auto LineSettings::*Item, auto Value);
    void StartPolling();

    SerialLine Line;
    QTimer PollTimer;
    std::vector<char> Buffer;
    LineSettings Settings;
    TComPortNumber Port = TComPortNumber::pnCOM2;
    std::string Device;
    std::string OpenDevice;
    std::string LastErrorText;
    std::uint16_t OutBufSize = 2048;
    std::uint16_t PollingDelay = 50;
    std::int32_t OutputTimeoutMs = 4000;
    bool InsidePoll = false;
};

// Points the driver at "COM1".."COM4" (any letter case) or, for any other text, at that device
// path. Like the properties it sets, this is ignored while connected.
void SelectPort(TSerialPortDriver &Driver, std::string_view Name);

} // namespace kx::link
