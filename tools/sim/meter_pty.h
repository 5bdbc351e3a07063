#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace kx::sim {

// The meter's end of a pseudo-terminal. Programs open the slave side as their serial port.
class MeterPty {
public:
    MeterPty() = default;
    ~MeterPty();
    MeterPty(const MeterPty &) = delete;
    MeterPty &operator=(const MeterPty &) = delete;

    // Creates the pty; returns the system's error text on failure, empty on success.
    std::string open();
    const std::string &slavePath() const { return slave_; }

    // Blocks until some program has the slave side open. A meter streams whether anyone listens or
    // not, but frames nobody reads would only pile up in the pty and be purged at the next open.
    void waitForReader() const;

    // Waits until the reader closes the port, at most `limit`: closing the pty while the reader
    // still has bytes to take would hang the line up and lose them.
    void waitForReaderToLeave(std::chrono::milliseconds limit) const;

    // Writes one frame, paced as a line at `baud` bit/s would carry it (10 bits a byte; 0: at once).
    // False when the reader went away while the pty was too full to take the whole frame; a frame
    // handed over whole counts as sent, as on a real line, whether or not it is read to the end.
    bool writeFrame(std::string_view bytes, unsigned baud) const;

private:
    bool readerPresent() const;

    int master_ = -1;
    std::string slave_;
};

} // namespace kx::sim
