#include "link/link_watchdog.h"

namespace kx::link {

bool linkWatchdogTick(std::int32_t &LinkIdleTicks)
{
    if (LinkIdleTicks == 2) {
        LinkIdleTicks = 0;
        return true;
    }
    ++LinkIdleTicks;
    return false;
}

} // namespace kx::link
