#include "meter/reading_state.h"

#include "meter/range.h"

namespace kx::meter {

namespace {
// Room for the longest reading, unit or mode text any decoder composes.
constexpr std::size_t kTextCapacity = 32;
}

ReadingState::ReadingState()
{
    for (std::string *frame : {&FrameIndexDigits, &FrameDigits, &LastFrame})
        frame->reserve(kMaxFrameDigits);
    for (std::string *text : {&DisplayText, &RangeModeText, &CouplingText, &UnitText, &LastUnitText,
                              &MaxDisplayText, &MinDisplayText})
        text->reserve(kTextCapacity);
    // "113" matches no unit text, so the first decoded frame always restarts MIN/MAX.
    LastUnitText = "113";
    loadRange(*this, RangeCode::Range4);
}

} // namespace kx::meter
