#pragma once

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace kx::link {

class THidDevice;

// A handler that may be unset and that compares by identity: copies of one assigned handler are
// equal, two separately assigned handlers are not. The controller hands its handlers on to the
// devices still holding its previous one, so it must tell them apart.
template <typename Signature>
class HidEvent {
public:
    HidEvent() = default;
    template <typename F>
        requires(!std::same_as<std::remove_cvref_t<F>, HidEvent> && std::constructible_from<std::function<Signature>, F>)
    HidEvent(F &&handler) : handler_(std::make_shared<const std::function<Signature>>(std::forward<F>(handler)))
    {
    }

    explicit operator bool() const { return handler_ != nullptr; }
    template <typename... Args>
    auto operator()(Args &&...args) const
    {
        return (*handler_)(std::forward<Args>(args)...);
    }
    friend bool operator==(const HidEvent &, const HidEvent &) = default;

private:
    std::shared_ptr<const std::function<Signature>> handler_;
};

// A device appeared or disappeared.
using THidPlugEvent = HidEvent<void(THidDevice *HidDev)>;
// One present device offered by Enumerate at list position Idx; false stops the enumeration.
using THidEnumerateEvent = HidEvent<bool(THidDevice *HidDev, std::int32_t Idx)>;
// The device list changed.
using THidNotifyEvent = HidEvent<void()>;
// One input report: its first byte as ReportID (0 for a device without numbered reports), the
// bytes after it in Data. Data belongs to the reader and is valid only during the call.
using THidDataEvent = HidEvent<void(THidDevice *HidDev, std::uint8_t ReportID, const std::uint8_t *Data, std::uint16_t Size)>;
// A read could not be started; Error is the system's error code (errno).
using THidDataErrorEvent = HidEvent<void(THidDevice *HidDev, std::uint32_t Error)>;

} // namespace kx::link
