#include "meter/range.h"

#include "meter/reading_state.h"

#include <array>
#include <cstdint>

namespace kx::meter {

namespace {

struct RangeRow {
    RangeCode code;
    std::string_view text;
    std::int32_t fullScale;
    std::int32_t gaugeZero;
    std::int32_t barFull;
    std::int32_t gaugeSpan;
    std::optional<LimitTexts> texts;
};

// Range "4" spans the build's own count (40000 or 4000) with the gauge figures of 4000 counts.
constexpr std::array<RangeRow, 3> kRanges{{
    {RangeCode::Range4, "4", KX52B_FULL_SCALE_4, 400, 40, 80, std::nullopt},
    {RangeCode::Range6, "6", 6000, 600, 60, 120, LimitTexts{"6000", "-6000", "6001", "-6001"}},
    {RangeCode::Range34, "34", 3400, 340, 34, 68, LimitTexts{"3400", "-3400", "3401", "-3401"}},
}};

const RangeRow &rowOf(RangeCode code)
{
    for (const RangeRow &row : kRanges)
        if (row.code == code)
            return row;
    return kRanges.front();
}

} // namespace

std::string_view rangeCodeText(RangeCode code)
{
    return rowOf(code).text;
}

std::optional<LimitTexts> loadRange(ReadingState &state, RangeCode code)
{
    const RangeRow &row = rowOf(code);
    state.FullScale = row.fullScale;
    state.GaugeZero = row.gaugeZero;
    state.BarFull = row.barFull;
    state.GaugeSpan = row.gaugeSpan;
    state.MaxLimit = static_cast<float>(row.fullScale + 2);
    state.MinLimit = static_cast<float>(-(row.fullScale + 2));
    state.MaxReading = static_cast<float>(-(row.fullScale + 1));
    state.MinReading = static_cast<float>(row.fullScale + 1);
    return row.texts;
}

LimitTexts layoutLimitTexts()
{
#if defined(KX52B_BUILD_40K)
    return {"40000", "-40000", "40001", "-40001"};
#else
    return {"6000", "-6000", "6001", "-6001"};
#endif
}

} // namespace kx::meter
