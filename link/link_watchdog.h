#pragma once

#include <cstdint>

namespace kx::link {

// `ConTimerTimer`, every 100 ms from start to exit: counts ticks since the last decoded frame (the
// decoders reset the count). True on the tick that shows the no-link icon, which is also when the
// USB idle check runs: the third tick after the last frame, then every third tick while none comes.
bool linkWatchdogTick(std::int32_t &LinkIdleTicks);

} // namespace kx::link
