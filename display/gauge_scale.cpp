#include "display/gauge_scale.h"

#include <span>

namespace kx::display {

namespace {

using meter::RangeCode;

// Marks sit just outside the arc, labels further out, the fine dots between the arc and the marks.
constexpr float kMarkOutward = 6;
constexpr float kLabelOutward = 18;
constexpr float kDotOutward = 3;
constexpr std::int32_t kFrequencyMajorSteps = 100;

// A label at major step i, drawn up and left of its anchor by (dx, dy).
struct LabelRow {
    std::int32_t i;
    std::string_view text;
    std::int32_t dx;
    std::int32_t dy;
};

// Thousands of counts in the five-digit meter, hundreds in the four-digit one; frequency mode runs
// -50 to 50.
constexpr LabelRow kFrequencyLabels[] = {
    {0, "-50", 5, 7},  {10, "-40", 8, 6}, {20, "-30", 10, 5}, {30, "-20", 10, 4},
    {40, "-10", 5, 4}, {50, "0", 3, 3},   {60, "10", 8, 5},   {70, "20", 8, 5},
    {80, "30", 9, 4},  {90, "40", 12, 9}, {100, "50", 14, 11},
};
constexpr LabelRow kRange4Labels[] = {
    {0, "-40", 5, 7}, {10, "-30", 8, 6}, {20, "-20", 10, 5}, {30, "-10", 10, 4}, {40, "0", 3, 4},
    {50, "10", 5, 5}, {60, "20", 8, 5},  {70, "30", 10, 6},  {80, "40", 12, 7},
};
constexpr LabelRow kRange6Labels[] = {
    {0, "-60", 5, 7}, {15, "-45", 8, 6}, {30, "-30", 10, 5}, {45, "-15", 10, 4}, {60, "0", 3, 4},
    {75, "15", 5, 5}, {90, "30", 8, 5},  {105, "45", 10, 6}, {120, "60", 11, 7},
};
constexpr LabelRow kRange34Labels[] = {
    {4, "-30", 8, 6}, {14, "-20", 10, 5}, {24, "-10", 10, 4}, {34, "0", 3, 4},
    {44, "10", 5, 5}, {54, "20", 8, 5},   {64, "30", 10, 6},
};

// The major pass of one kind of scale: a mark at every step whose remainder by `every` is `at`.
// The range "4" marks are white on white: they show nothing but still paint over what lies there.
struct MajorScale {
    std::int32_t every;
    std::int32_t at;
    ScaleColour colour;
    std::span<const LabelRow> labels;
};

constexpr MajorScale kFrequencyScale{10, 0, ScaleColour::Red, kFrequencyLabels};

struct RangeScale {
    RangeCode range;
    MajorScale scale;
};
constexpr RangeScale kRangeScales[] = {
    {RangeCode::Range4, {10, 0, ScaleColour::White, kRange4Labels}},
    {RangeCode::Range6, {15, 0, ScaleColour::Red, kRange6Labels}},
    {RangeCode::Range34, {10, 4, ScaleColour::Red, kRange34Labels}},
};

const MajorScale &majorScaleFor(const GaugeInputs &inputs)
{
    if (inputs.FrequencyMode)
        return kFrequencyScale;
    for (const RangeScale &row : kRangeScales)
        if (row.range == inputs.RangeCode)
            return row.scale;
    return kRangeScales[0].scale;
}

const LabelRow *labelAt(std::span<const LabelRow> labels, std::int32_t i)
{
    for (const LabelRow &label : labels)
        if (label.i == i)
            return &label;
    return nullptr;
}

bool beyondActiveLimit(std::int32_t j, const GaugeInputs &inputs)
{
    const double counts = double(j - inputs.GaugeZero) * inputs.FullScale / inputs.GaugeZero;
    return (counts > inputs.MaxLimit && inputs.SetMaxB) || (counts < inputs.MinLimit && inputs.SetMinB);
}

} // namespace

ScalePlan planScale(const GaugeGeometry &geometry, const GaugeInputs &inputs)
{
    ScalePlan plan;
    const MajorScale &major = majorScaleFor(inputs);
    const std::int32_t majorSteps = inputs.FrequencyMode ? kFrequencyMajorSteps : inputs.GaugeSpan;
    for (std::int32_t i = 0; i <= majorSteps; ++i) {
        const float theta = geometry.theta(i, majorSteps);
        if (i % major.every == major.at)
            plan.marks.push_back({geometry.pointAt(theta, kMarkOutward), major.colour});
        if (const LabelRow *label = labelAt(major.labels, i)) {
            const GaugePoint anchor = geometry.pointAt(theta, kLabelOutward);
            plan.labels.push_back({{anchor.x - label->dx, anchor.y - label->dy}, label->text});
        }
    }

    const std::int32_t fineSteps = 10 * inputs.GaugeSpan;
    plan.dots.reserve(static_cast<std::size_t>(fineSteps > 0 ? fineSteps + 1 : 0));
    for (std::int32_t j = 0; j <= fineSteps; ++j)
        plan.dots.push_back({geometry.pointAt(geometry.theta(j, fineSteps), kDotOutward), beyondActiveLimit(j, inputs)});
    return plan;
}

} // namespace kx::display
