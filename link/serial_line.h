#pragma once

#include "link/serial_settings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kx::link {

// One open serial device on Linux termios. Only I/O lives here; the driver above decides when to
// open, apply, read and close. Move-only; the descriptor is closed with the object.
class SerialLine {
public:
    SerialLine() = default;
    ~SerialLine();
    SerialLine(SerialLine &&other) noexcept;
    SerialLine &operator=(SerialLine &&other) noexcept;
    SerialLine(const SerialLine &) = delete;
    SerialLine &operator=(const SerialLine &) = delete;

    // Opens a terminal device for reading and writing, exclusively: TIOCEXCL keeps other
    // (unprivileged) openers out at the kernel, and an advisory flock keeps out every program that
    // honours it, root included, and a second driver in this process. Returns the system's error
    // text on failure (the line stays closed), an empty text on success.
    std::string open(const std::string &devicePath);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Raw binary line with the given format, reads that return at once, DTR as asked and RTS off
    // unless RTS/CTS drives it. A terminal that refuses an item (a pty has no modem lines) keeps
    // its old value; that is not an error.
    void apply(const LineSettings &settings);

    // Drops what waits in the chosen directions.
    void purge(bool input, bool output);

    struct ReadResult {
        std::int32_t count = 0; // bytes placed in the buffer, 0 when nothing has arrived
        std::string lostReason; // non-empty: the device is gone (unplugged, hung up); close it
    };
    ReadResult read(char *buffer, std::int32_t size);

private:
    int fd_ = -1;
};

// The control-mode bits (termios c_cflag) for the settings' character size, parity, stop bits and
// RTS/CTS flow control, without the bit rate. A pty forces 8 bits without parity whatever it is
// told, so this is how those items can be seen without a UART.
std::uint32_t lineControlFlags(const LineSettings &settings);

// The output bit rate a terminal is set to, read through the arbitrary-rate interface so that
// rates without a termios constant read back as well; none if fd is no terminal.
std::optional<std::uint32_t> terminalBitRate(int fd);

} // namespace kx::link
