#include "link/hid_read_thread.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

namespace kx::link {

namespace {

void signal(const UniqueFd &fd)
{
    const std::uint64_t one = 1;
    (void)!::write(fd.get(), &one, sizeof one);
}

} // namespace

std::shared_ptr<THidDeviceReadThread> THidDeviceReadThread::Start(Channel channel, Delivery delivery)
{
    UniqueFd ready(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!ready.valid() || !wake.valid())
        return nullptr;
    std::shared_ptr<THidDeviceReadThread> reader(
        new THidDeviceReadThread(std::move(channel), std::move(delivery), std::move(ready), std::move(wake)));

    reader->readyNotifier_ = std::make_unique<QSocketNotifier>(reader->ready_.get(), QSocketNotifier::Read);
    QSocketNotifier *notifier = reader->readyNotifier_.get();
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [weak = std::weak_ptr(reader)] {
        // Holding the reader keeps its buffer alive even if the handler stops and drops it.
        if (const std::shared_ptr<THidDeviceReadThread> self = weak.lock()) {
            std::uint64_t count = 0;
            (void)!::read(self->ready_.get(), &count, sizeof count);
            self->deliverPending();
        }
    });
    try {
        reader->thread_ = std::thread(&THidDeviceReadThread::run, reader.get());
    } catch (const std::system_error &) {
        return nullptr;
    }
    return reader;
}

THidDeviceReadThread::THidDeviceReadThread(Channel channel, Delivery delivery, UniqueFd ready, UniqueFd wake)
    : channel_(std::move(channel)), delivery_(std::move(delivery)),
      buffer_(std::max<std::size_t>(channel_.reports.InputReportLength, 1)), ready_(std::move(ready)),
      wake_(std::move(wake))
{
}

THidDeviceReadThread::~THidDeviceReadThread() { Stop(); }

void THidDeviceReadThread::Stop()
{
    if (thread_.joinable()) {
        setState(ReaderState::StopRequested);
        signal(wake_);
        awaitState(ReaderState::Finished);
        thread_.join();
    }
    deliverPending();
    if (!readyNotifier_)
        return;
    bool inService = false;
    {
        std::lock_guard lock(mutex_);
        inService = handOverState_ == HandOverState::InService;
    }
    // Stopped from inside a delivery, which its notifier is still emitting: delete it afterwards.
    if (inService)
        readyNotifier_.release()->deleteLater();
    else
        readyNotifier_.reset();
}

void THidDeviceReadThread::run()
{
    // A device without numbered reports sends none of its ID byte; the buffer keeps 0 there.
    const std::size_t offset = channel_.reports.numbered ? 0 : 1;
    UniqueFd channel;
    while (!stopRequested()) {
        if (!channel.valid()) {
            channel = channel_.platform->open(channel_.DevicePath, HidAccess::Read);
            if (!channel.valid()) {
                const auto error = static_cast<std::uint32_t>(errno);
                if (!handOver({true, error, 0}) || waitFor(-1, kRetryPauseMs) < 0)
                    break;
                continue;
            }
        }
        std::fill(buffer_.begin(), buffer_.end(), 0);
        int events = 0;
        while ((events = waitFor(channel.get(), channel_.SleepTime)) == 0) {
        }
        if (events < 0)
            break;
        const ssize_t count = ::read(channel.get(), buffer_.data() + offset, buffer_.size() - offset);
        if (count > 0) {
            if (!handOver({false, 0, static_cast<std::size_t>(count) + offset}))
                break;
            continue;
        }
        // A read that ends without bytes is dropped; a channel that hung up (device unplugged)
        // is reopened by the next read, which then reports why it cannot start.
        const bool hungUp = (events & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if (hungUp || (count < 0 && errno != EINTR && errno != EAGAIN))
            channel.reset();
    }
    setState(ReaderState::Finished);
}

bool THidDeviceReadThread::handOver(const HandOver &item)
{
    {
        std::lock_guard lock(mutex_);
        if (state_ != ReaderState::Running)
            return false;
        pending_ = item;
        handOverState_ = HandOverState::Posted;
    }
    signal(ready_);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return handOverState_ == HandOverState::None || state_ != ReaderState::Running; });
    return state_ == ReaderState::Running;
}

int THidDeviceReadThread::waitFor(int channel, int ms)
{
    pollfd fds[2] = {{wake_.get(), POLLIN, 0}, {channel, POLLIN, 0}};
    const int ready = ::poll(fds, channel >= 0 ? 2 : 1, ms);
    if (stopRequested())
        return -1;
    return ready > 0 && channel >= 0 ? fds[1].revents : 0;
}

void THidDeviceReadThread::setState(ReaderState state)
{
    {
        std::lock_guard lock(mutex_);
        state_ = state;
    }
    changed_.notify_all();
}

void THidDeviceReadThread::awaitState(ReaderState state)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return state_ == state; });
}

bool THidDeviceReadThread::stopRequested()
{
    std::lock_guard lock(mutex_);
    return state_ != ReaderState::Running;
}

void THidDeviceReadThread::deliverPending()
{
    HandOver item;
    {
        std::lock_guard lock(mutex_);
        if (handOverState_ != HandOverState::Posted)
            return;
        handOverState_ = HandOverState::InService;
        item = pending_;
    }
    if (item.isError) {
        if (delivery_.error)
            delivery_.error(item.error);
    } else if (delivery_.report) {
        delivery_.report(buffer_[0], buffer_.data() + 1, static_cast<std::uint16_t>(item.count - 1));
    }
    {
        std::lock_guard lock(mutex_);
        handOverState_ = HandOverState::None;
    }
    changed_.notify_all();
}

} // namespace kx::link
