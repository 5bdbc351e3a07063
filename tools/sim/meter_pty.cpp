#include "tools/sim/meter_pty.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace kx::sim {

MeterPty::~MeterPty()
{
    if (master_ >= 0)
        ::close(master_);
}

std::string MeterPty::open()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        return std::strerror(errno);
    slave_ = ptsname(master_);
    // Opening and closing the slave once makes the master report a hang-up for as long as no
    // program has the slave open, which is how the simulator sees whether anyone listens. Raw mode
    // keeps CR and LF intact for readers that do not set up the line themselves.
    const int slave = ::open(slave_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return std::strerror(errno);
    termios raw{};
    if (tcgetattr(slave, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
    }
    ::close(slave);
    return {};
}

bool MeterPty::readerPresent() const
{
    pollfd p{master_, POLLOUT, 0};
    return poll(&p, 1, 0) >= 0 && !(p.revents & POLLHUP);
}

void MeterPty::waitForReader() const
{
    while (!readerPresent())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

void MeterPty::waitForReaderToLeave(std::chrono::milliseconds limit) const
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (readerPresent() && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

bool MeterPty::writeFrame(std::string_view bytes, unsigned baud) const
{
    using Clock = std::chrono::steady_clock;
    const auto byteTime = baud ? std::chrono::nanoseconds(10'000'000'000LL / baud) : Clock::duration::zero();
    auto due = Clock::now();
    while (!bytes.empty()) {
        if (baud)
            std::this_thread::sleep_until(due);
        const std::size_t chunk = baud ? 1 : bytes.size();
        const ssize_t n = ::write(master_, bytes.data(), chunk);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            due += byteTime * n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        // The pty is full: the reader is slow, or gone.
        pollfd p{master_, POLLOUT, 0};
        poll(&p, 1, 100);
        if (p.revents & POLLHUP)
            return false;
    }
    if (baud)
        std::this_thread::sleep_until(due);
    return true;
}

} // namespace kx::sim
