#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace kx::link::test {

// A pseudo-terminal whose slave side plays the serial device; the test writes on the master as the
// meter would.
class Pty {
public:
    Pty()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0)
            slave_ = ptsname(master_);
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    const std::string &slavePath() const { return slave_; }
    int master() const { return master_; }

    void write(std::string_view bytes) const
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n <= 0)
                return;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    // The kernel hands written bytes to the slave side from a work queue; give it time to do so.
    static void settle() { usleep(30'000); }

    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_;
};

} // namespace kx::link::test
