#pragma once

#include "meter/headless_window.h"
#include "meter/meter.h"
#include "meter/startup.h"
#include "tools/decode/options.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace kx::tools {

// The build's data path on a headless window, printing one JSON line per decoder run. Whatever
// delivers the bytes (a file now, a serial port later) hands them over block by block with feed().
class DecodeSession {
public:
    // The session, or the message why the options cannot make one (no receiver, a bad limit).
    static std::variant<std::unique_ptr<DecodeSession>, std::string> create(const DecodeOptions &options,
                                                                           std::ostream &out);

    // One block as the serial driver would deliver it; a failed frame ends the block.
    void feed(const std::uint8_t *data, std::int32_t size);

private:
    DecodeSession(const DecodeOptions &options, std::ostream &out);
    void frameStarted();
    void print(const meter::Failure &error);

    std::ostream &out_;
    meter::HeadlessWindow window_;
    meter::Meter meter_;
    meter::StartedProfile started_;
    // LastFrame of the decoder run not printed yet.
    std::optional<std::string> pending_;
};

} // namespace kx::tools
