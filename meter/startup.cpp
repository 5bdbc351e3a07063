#include "meter/startup.h"

#include "meter/integer_text.h"

namespace kx::meter {

StartedProfile startProfile(Meter &meter)
{
    StartedProfile started;
    started.profile = evaluateProfile(meter.flags);
    started.receiver = receiveHandler(started.profile.receiver);
    started.limitTexts = loadRange(meter.state, started.profile.range).value_or(layoutLimitTexts());
    return started;
}

std::optional<float> parseLimit(std::string_view text)
{
    if (text.empty() || text == "-" || text == "+")
        return 0.0f;
    const std::optional<std::int32_t> value = parseInteger(text);
    if (!value)
        return std::nullopt;
    return static_cast<float>(*value);
}

} // namespace kx::meter
