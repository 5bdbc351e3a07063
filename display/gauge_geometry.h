#pragma once

#include "meter/range.h"

#include <cstdint>

namespace kx::meter {
struct ReadingState;
}

namespace kx::display {

// What the gauge reads from the reading state and the limit panel each time it draws.
struct GaugeInputs {
    bool FrequencyMode = false;
    meter::RangeCode RangeCode = meter::RangeCode::Range4;
    std::int32_t GaugeSpan = 80;
    std::int32_t GaugeZero = 400;
    std::int32_t FullScale = 4000;
    float MaxLimit = 4002;
    float MinLimit = -4002;
    bool SetMaxB = false;
    bool SetMinB = false;
};

GaugeInputs gaugeInputs(const meter::ReadingState &state, meter::RangeCode range, bool setMaxBChecked,
                        bool setMinBChecked);

struct GaugePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(GaugePoint, GaugePoint) = default;
};

struct Needle {
    GaugePoint tip;
    GaugePoint base;
};

// The scale's circular arc, worked out from the gauge panel's outer size: 20 pixels to each side,
// 30 above and below. The figures are single precision between the steps, as the scale has always
// been drawn, so the marks land on the same pixels.
class GaugeGeometry {
public:
    GaugeGeometry(int panelWidth, int panelHeight);

    float W;  // arc width
    float H;  // arc height (sagitta)
    float R;  // radius
    float A;  // arc angle, degrees
    float B;  // start angle, degrees

    // Angle in radians of a position on a scale of `steps` steps; not clamped to the arc.
    float theta(std::int32_t position, std::int32_t steps) const;
    // The point at that angle, `outward` pixels outside the arc.
    GaugePoint pointAt(float theta, float outward) const;
    // A needle along the radius at that angle: tip 4 pixels inside the arc, base where the radius
    // crosses the line 280 pixels below the arc's ends (far below the picture).
    Needle needleAt(float theta) const;
};

// The needle for a `KDrun` argument: in frequency mode the scale has 1000 steps and the needle
// stands 100 steps right of the argument.
struct NeedlePlacement {
    Needle needle;
    std::int32_t position;  // on the scale actually used
    std::int32_t steps;
};
NeedlePlacement placeNeedle(const GaugeGeometry &geometry, const GaugeInputs &inputs, std::int32_t argument);

// Nearest integer, halves to even; far or undefined values stay inside the drawable range instead
// of overflowing.
std::int32_t roundToPixel(double value);

} // namespace kx::display
