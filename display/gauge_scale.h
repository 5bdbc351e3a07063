#pragma once

#include "display/gauge_geometry.h"

#include <string_view>
#include <vector>

namespace kx::display {

enum class ScaleColour : std::uint8_t { Black, Red, White };

// A major mark: an ellipse in the box from `at` to `at` + (2, 2), drawn with a 2-pixel pen.
struct ScaleMark {
    GaugePoint at;
    ScaleColour colour;
};

// A label in the default font, black on white, its top-left corner at `topLeft`.
struct ScaleLabel {
    GaugePoint topLeft;
    std::string_view text;
};

// A fine dot: an ellipse in the box from `at` to `at` + (2, 2), drawn with a 4-pixel pen; red where
// the reading it stands for lies beyond an active limit.
struct ScaleDot {
    GaugePoint at;
    bool red;
};

struct ScalePlan {
    std::vector<ScaleMark> marks;
    std::vector<ScaleLabel> labels;
    std::vector<ScaleDot> dots;
};

// Everything `KDsetup` draws, for the given arc and inputs.
ScalePlan planScale(const GaugeGeometry &geometry, const GaugeInputs &inputs);

} // namespace kx::display
