#pragma once

#include "link/hid_platform.h"
#include "link/hid_report_descriptor.h"
#include "link/unique_fd.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QSocketNotifier;

namespace kx::link {

// The reader of one device's input reports. It blocks on the device in its own thread and hands
// each report, and each read that cannot be started, to the user-interface thread, then waits until
// the handler there has returned before it reuses its buffer. It never touches program state.
class THidDeviceReadThread : public std::enable_shared_from_this<THidDeviceReadThread> {
public:
    // Pause after a read that could not be started (device gone, node not openable) before the next
    // try, so that a vanished device does not flood the handler.
    static constexpr int kRetryPauseMs = 1000;

    struct Channel {
        std::shared_ptr<HidPlatform> platform;
        std::string DevicePath;
        HidInputReports reports;
        std::int32_t SleepTime = 100;
    };
    // Run on the user-interface thread, one at a time.
    struct Delivery {
        std::function<void(std::uint8_t ReportID, const std::uint8_t *Data, std::uint16_t Size)> report;
        std::function<void(std::uint32_t Error)> error;
    };

    // Starts reading at once; none when the system refuses a thread or its wake-up descriptors.
    // Call from the user-interface thread, which must run a Qt event loop for the hand-over.
    static std::shared_ptr<THidDeviceReadThread> Start(Channel channel, Delivery delivery);
    ~THidDeviceReadThread();
    THidDeviceReadThread(const THidDeviceReadThread &) = delete;
    THidDeviceReadThread &operator=(const THidDeviceReadThread &) = delete;

    // From the user-interface thread: ends the reader within one wait slice and waits for it. A
    // report or error it had handed over is still delivered before this returns; none comes after.
    // Safe to call from inside a delivery.
    void Stop();

private:
    enum class ReaderState { Running, StopRequested, Finished };
    enum class HandOverState { None, Posted, InService };
    struct HandOver {
        bool isError = false;
        std::uint32_t error = 0;
        std::size_t count = 0;
    };

    THidDeviceReadThread(Channel channel, Delivery delivery, UniqueFd ready, UniqueFd wake);

    void run();
    // Hands one report or error over and waits until it is serviced; false when stopping.
    bool handOver(const HandOver &item);
    // Waits on the channel (or, with no channel, only for a stop) up to MS; the channel's poll
    // events, 0 when the time ran out, -1 when a stop was requested.
    int waitFor(int channel, int ms);
    void setState(ReaderState state);
    void awaitState(ReaderState state);
    bool stopRequested();
    // On the user-interface thread: runs the handler of a posted hand-over.
    void deliverPending();

    const Channel channel_;
    const Delivery delivery_;
    std::vector<std::uint8_t> buffer_;
    UniqueFd ready_; // counts hand-overs waiting for the user-interface thread
    UniqueFd wake_;  // wakes the reader's wait when a stop is requested
    std::unique_ptr<QSocketNotifier> readyNotifier_;
    std::thread thread_;

    std::mutex mutex_; // guards state_, handOverState_, pending_ and, while a hand-over is posted or in service, buffer_
    std::condition_variable changed_;
    ReaderState state_ = ReaderState::Running;
    HandOverState handOverState_ = HandOverState::None;
    HandOver pending_;
};

} // namespace kx::link
