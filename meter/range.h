#pragma once

#include <optional>
#include <string_view>

namespace kx::meter {

struct ReadingState;

// The display range of the meter, in counts.
enum class RangeCode { Range4, Range6, Range34 };

// "4", "6" or "34".
std::string_view rangeCodeText(RangeCode code);

// The texts a range puts into the limit fields and the MIN/MAX captions.
struct LimitTexts {
    std::string_view Setmax;
    std::string_view SetMin;
    std::string_view MinText;
    std::string_view MaxText;
};

// Sets FullScale, GaugeZero, BarFull, GaugeSpan, the limits and MIN/MAX from the range table and
// yields the range's texts; range "4" has none (the window layout's texts stay).
std::optional<LimitTexts> loadRange(ReadingState &state, RangeCode code);

// The texts the window layout starts with in the limit fields and MIN/MAX captions of this build.
LimitTexts layoutLimitTexts();

} // namespace kx::meter
