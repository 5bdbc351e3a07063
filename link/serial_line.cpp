#include "link/serial_line.h"

// The kernel's termios2 carries any bit rate (BOTHER); glibc's <termios.h> cannot be included
// beside it, so this file speaks to the terminal through ioctl only.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace kx::link {
namespace {

std::string systemText(int error) { return std::strerror(error); }

struct RateCode {
    std::uint32_t bitsPerSecond;
    tcflag_t code; // BOTHER where termios has no constant
};

constexpr RateCode kRateCodes[] = {
    {110, B110},     {300, B300},     {600, B600},     {1200, B1200},   {2400, B2400},
    {4800, B4800},   {9600, B9600},   {14400, BOTHER}, {19200, B19200}, {38400, B38400},
    {56000, BOTHER}, {57600, B57600}, {115200, B115200},
};
static_assert(std::size(kRateCodes) == static_cast<std::size_t>(TComPortBaudRate::br115200) + 1);

constexpr tcflag_t kCharacterSizes[] = {CS5, CS6, CS7, CS8};

tcflag_t parityFlags(TComPortParity parity)
{
    switch (parity) {
    case TComPortParity::ptNONE: return 0;
    case TComPortParity::ptODD: return PARENB | PARODD;
    case TComPortParity::ptEVEN: return PARENB;
    case TComPortParity::ptMARK: return PARENB | CMSPAR | PARODD;
    case TComPortParity::ptSPACE: return PARENB | CMSPAR;
    }
    return 0;
}

void setModemLine(int fd, int line, bool on)
{
    ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

} // namespace

std::uint32_t lineControlFlags(const LineSettings &settings)
{
    tcflag_t flags = kCharacterSizes[static_cast<std::size_t>(settings.dataBits)] | parityFlags(settings.parity);
    // A UART sends 1.5 stop bits for 5-bit characters when asked for two; Linux has no other way
    // to ask for 1.5.
    if (settings.stopBits != TComPortStopBits::sb1BITS)
        flags |= CSTOPB;
    if (settings.hwHandshaking == TComPortHwHandshaking::hhRTSCTS)
        flags |= CRTSCTS;
    return flags;
}

SerialLine::~SerialLine() { close(); }

SerialLine::SerialLine(SerialLine &&other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

SerialLine &SerialLine::operator=(SerialLine &&other) noexcept
{
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

std::string SerialLine::open(const std::string &devicePath)
{
    close();
    // No controlling terminal, and an open that never waits for carrier detect.
    const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return systemText(errno);
    termios2 probe{};
    if (ioctl(fd, TCGETS2, &probe) != 0) {
        const int error = errno;
        ::close(fd);
        return systemText(error);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // Someone else holds the port: say "busy", not "try again".
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return systemText(error);
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        return systemText(error);
    }
    fd_ = fd;
    return {};
}

void SerialLine::close()
{
    if (fd_ < 0)
        return;
    ioctl(fd_, TIOCNXCL);
    ::close(fd_); // also releases the flock
    fd_ = -1;
}

void SerialLine::apply(const LineSettings &settings)
{
    termios2 t{};
    if (fd_ < 0 || ioctl(fd_, TCGETS2, &t) != 0)
        return;
    // Binary: no translation, no echo, no signals; parity is not checked, so every byte arrives
    // as it was sent, NUL included.
    t.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | PARMRK | INPCK | ISTRIP | INLCR | IGNCR | ICRNL
                   | IUCLC | IXON | IXOFF | IXANY | IMAXBEL);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOKE | IEXTEN);

    const RateCode rate = kRateCodes[static_cast<std::size_t>(settings.speed)];
    t.c_cflag &= ~(CBAUD | CIBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    // Modem status lines (carrier detect) are ignored; the meter has none.
    t.c_cflag |= CREAD | CLOCAL | rate.code | lineControlFlags(settings);
    t.c_ispeed = t.c_ospeed = rate.bitsPerSecond;
    if (settings.swHandshaking == TComPortSwHandshaking::shXONXOFF) {
        t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = 0x11;
        t.c_cc[VSTOP] = 0x13;
    }
    // With O_NONBLOCK and VMIN 1 a read returns at once with what has arrived, fails with EAGAIN
    // when nothing has, and returns 0 only on hang-up, so the three cases stay apart.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ioctl(fd_, TCSETS2, &t);

    setModemLine(fd_, TIOCM_DTR, settings.dtrOn);
    // Under RTS/CTS the kernel drops RTS when the input queue fills and raises it again as it
    // drains; it starts raised, also when handshaking is turned on while the port is open.
    setModemLine(fd_, TIOCM_RTS, settings.hwHandshaking == TComPortHwHandshaking::hhRTSCTS);
}

void SerialLine::purge(bool input, bool output)
{
    if (fd_ < 0 || !(input || output))
        return;
    ioctl(fd_, TCFLSH, input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH);
}

SerialLine::ReadResult SerialLine::read(char *buffer, std::int32_t size)
{
    if (fd_ < 0 || size <= 0)
        return {};
    const ssize_t n = ::read(fd_, buffer, static_cast<std::size_t>(size));
    if (n > 0)
        return {static_cast<std::int32_t>(n), {}};
    if (n == 0)
        return {0, "the line hung up"};
    switch (errno) {
    case EAGAIN:
    case EINTR:
        return {};
    case EIO:
    case ENXIO:
    case ENODEV:
    case EBADF:
        return {0, systemText(errno)};
    default:
        return {}; // a passing fault: read again at the next tick
    }
}

std::optional<std::uint32_t> terminalBitRate(int fd)
{
    termios2 t{};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return std::nullopt;
    if ((t.c_cflag & CBAUD) == BOTHER)
        return t.c_ospeed;
    for (const RateCode &rate : kRateCodes)
        if (rate.code == (t.c_cflag & CBAUD))
            return rate.bitsPerSecond;
    return std::nullopt;
}

} // namespace kx::link
