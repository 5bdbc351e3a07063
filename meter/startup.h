#pragma once

#include "meter/meter.h"
#include "meter/range.h"

namespace kx::meter {

// The data path's share of the window's start-up: the profile of the meter's flags, its range
// loaded, and the receiver to bind (nullptr: no profile flag set, received bytes are ignored).
struct StartedProfile {
    Profile profile;
    ReceiveHandler receiver = nullptr;
    // What the limit fields and MIN/MAX captions show: the range's texts, or the layout's.
    LimitTexts limitTexts;
};

StartedProfile startProfile(Meter &meter);

// A limit field's text as a limit in counts: empty, "-" and "+" give 0; otherwise a signed 32-bit
// whole number, or nothing when the text is none (the limit then keeps its value).
std::optional<float> parseLimit(std::string_view text);

} // namespace kx::meter
