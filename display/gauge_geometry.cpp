#include "display/gauge_geometry.h"

#include "meter/reading_state.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace kx::display {

namespace {

constexpr float kSideMargin = 20;
constexpr float kTopMargin = 30;
// The needle's base lies on a line this far below the arc's ends.
constexpr float kNeedleDrop = 280;
// The tip stops this far inside the arc, so the needle never covers the fine dots.
constexpr float kTipInset = 4;
// Frequency mode spreads -50..50 over a scale of 1000 steps, 100 of them left of the reading's zero.
constexpr std::int32_t kFrequencySteps = 1000;
constexpr std::int32_t kFrequencyOffset = 100;

// Far enough outside any panel to draw as a line leaving it, small enough for painting in 32 bits.
constexpr double kPixelLimit = 1'000'000;

} // namespace

GaugeInputs gaugeInputs(const meter::ReadingState &state, meter::RangeCode range, bool setMaxBChecked,
                        bool setMinBChecked)
{
    return {state.FrequencyMode, range,          state.GaugeSpan, state.GaugeZero, state.FullScale,
            state.MaxLimit,      state.MinLimit, setMaxBChecked,  setMinBChecked};
}

std::int32_t roundToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<std::int32_t>(std::nearbyint(std::clamp(value, -kPixelLimit, kPixelLimit)));
}

GaugeGeometry::GaugeGeometry(int panelWidth, int panelHeight)
    : W(static_cast<float>(panelWidth) - 2 * kSideMargin)
    , H(static_cast<float>(panelHeight) - 2 * kTopMargin)
    , R(static_cast<float>((4.0 * H * H + double(W) * W) / (8.0 * H)))
    // 3.1415 rather than pi: the scale has always been laid out with it.
    , A(static_cast<float>(2 * std::atan((W / 2.0) / (double(R) - H)) * 180 / 3.1415))
    , B(static_cast<float>((180.0 - A) / 2))
{
}

float GaugeGeometry::theta(std::int32_t position, std::int32_t steps) const
{
    return static_cast<float>((double(A) / steps * position + B) * std::numbers::pi / 180);
}

GaugePoint GaugeGeometry::pointAt(float theta, float outward) const
{
    const double c = std::cos(double(theta));
    const double s = std::sin(double(theta));
    return {roundToPixel(W / 2.0 - (R * c + outward * c) + kSideMargin),
            roundToPixel(double(R) - (R * s + outward * s) + kTopMargin)};
}

Needle GaugeGeometry::needleAt(float theta) const
{
    const double c = std::cos(double(theta));
    const double s = std::sin(double(theta));
    const GaugePoint tip{roundToPixel(W / 2.0 - R * c) + static_cast<std::int32_t>(kSideMargin),
                         roundToPixel(R - R * s + kTipInset) + static_cast<std::int32_t>(kTopMargin)};
    const GaugePoint base{roundToPixel(W / 2.0 - (double(R) - H - kNeedleDrop) * c / s)
                              + static_cast<std::int32_t>(kSideMargin),
                          roundToPixel(double(H) + kNeedleDrop) + static_cast<std::int32_t>(kTopMargin)};
    return {tip, base};
}

NeedlePlacement placeNeedle(const GaugeGeometry &geometry, const GaugeInputs &inputs, std::int32_t argument)
{
    const std::int32_t steps = inputs.FrequencyMode ? kFrequencySteps : 10 * inputs.GaugeSpan;
    const std::int32_t position = inputs.FrequencyMode
        ? static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t(argument) + kFrequencyOffset, INT32_MAX))
        : argument;
    return {geometry.needleAt(geometry.theta(position, steps)), position, steps};
}

} // namespace kx::display
