#include "meter/update_sequence.h"

#include "meter/integer_text.h"
#include "meter/joined_text.h"

#include <charconv>

namespace kx::meter {

namespace {

// Frequency mode draws gauge and chart on a fixed +-5000 scale.
constexpr double kFrequencyAxis = 5000;

JoinedText joined(bool negative, std::span<const char> digits)
{
    JoinedText text;
    if (negative)
        text += '-';
    for (char glyph : digits)
        text += glyph;
    return text;
}

void checkLimits(Meter &meter)
{
    const ReadingState &s = meter.state;
    MeterWindow &w = meter.window;
    const bool raised = (s.ReadingValue > s.MaxLimit && w.SetMaxBChecked())
                        || (s.ReadingValue < s.MinLimit && w.SetMinBChecked());
    if (raised)
        w.MessageBeep();
    w.setOltextVisible(raised);
}

void updateMinMax(Meter &meter, const UpdateInputs &in)
{
    ReadingState &s = meter.state;
    if (s.UnitText != s.LastUnitText || in.pointPosition != s.LastPointPos) {
        // A new function or range: the chart starts afresh and MIN/MAX restart.
        meter.window.ShowSeries(meter.window.BtFillChecked() ? 0 : 1);
        meter.window.BtNewClick();
        s.LastUnitText = s.UnitText;
        s.MaxReading = in.resetMaxReading;
        s.MinReading = in.resetMinReading;
    } else {
        if (s.ReadingValue >= s.MaxReading) {
            s.MaxDisplayText = s.DisplayText;
            s.MaxReading = s.ReadingValue;
        }
        if (s.ReadingValue <= s.MinReading) {
            s.MinDisplayText = s.DisplayText;
            s.MinReading = s.ReadingValue;
        }
    }
    s.LastPointPos = in.pointPosition;
}

void addChartPoint(Meter &meter, double value)
{
    MeterWindow &w = meter.window;
    w.Series1Add(value);
    if (meter.state.ChartLive == 1) {
        const std::int32_t page = w.chartPageCount();
        w.setChartPage(page);
        char text[12];
        const auto end = std::to_chars(text, text + sizeof text, page).ptr;
        w.setBt10Caption(std::string_view(text, static_cast<std::size_t>(end - text)));
    }
    w.Series2Add(value);
}

} // namespace

Failure toInteger(std::string_view text, std::int32_t &value)
{
    const std::optional<std::int32_t> parsed = parseInteger(text);
    if (!parsed)
        return notIntegerMessage(text);
    value = *parsed;
    return std::nullopt;
}

void showLinkAlive(Meter &meter)
{
    meter.window.showCONok();
    meter.state.LinkIdleTicks = 0;
}

void applyFrequencyMode(Meter &meter, bool previous)
{
    if (meter.state.FrequencyMode == previous)
        return;
    meter.window.KDsetup(1);
    const double span = meter.state.FrequencyMode ? kFrequencyAxis : meter.state.FullScale;
    meter.window.setChartLeftAxis(-span, span);
}

std::int32_t shownPointPosition(const LcdModel &lcd)
{
    if (lcd.shown(LcdElement::LcdP3))
        return 3;
    if (lcd.shown(LcdElement::LcdP2))
        return 2;
    if (lcd.shown(LcdElement::LcdP1))
        return 1;
    return 0;
}

Failure setReadingValue(ReadingState &state, bool negative, std::span<const char> digits, bool overload,
                        std::int32_t overloadCounts)
{
    std::int32_t value = negative ? -overloadCounts : overloadCounts;
    if (!overload)
        if (Failure failure = toInteger(joined(negative, digits).view(), value))
            return failure;
    state.ReadingValue = static_cast<float>(value);
    return std::nullopt;
}

Failure runUpdateSequence(Meter &meter, const UpdateInputs &in)
{
    ReadingState &s = meter.state;
    MeterWindow &w = meter.window;
    checkLimits(meter);
    updateMinMax(meter, in);
    w.setMinMaxCaptions(s.MaxDisplayText, s.MinDisplayText, s.UnitText, s.UnitText);

    const std::span<const char> captions = in.digits.last(4);
    for (std::size_t i = 0; i < captions.size(); ++i)
        meter.lcd.setCaption(static_cast<LcdDigit>(static_cast<std::size_t>(LcdDigit::Da) + i), captions[i]);

    if (in.overload) {
        w.KDrun(in.negative ? 0 : s.GaugeSpan * 10);
    } else {
        std::int32_t gauge = 0;
        if (Failure failure = toInteger(joined(in.negative, in.digits.first(3)).view(), gauge))
            return failure;
        w.KDrun(gauge + s.GaugeZero);
    }

    if (Failure failure = w.INDataToTable(0))
        return failure;

    if (in.overload) {
        w.setPBar2Position(in.barAtOverload);
    } else {
        std::int32_t bar = 0;
        if (Failure failure = toInteger(joined(false, in.digits.first(2)).view(), bar))
            return failure;
        w.setPBar2Position(bar < 2 ? 1 : bar);
    }

    std::int32_t chart = in.negative ? -s.FullScale : s.FullScale;
    if (!in.overload)
        if (Failure failure = toInteger(joined(in.negative, in.digits).view(), chart))
            return failure;
    addChartPoint(meter, chart);
    return std::nullopt;
}

} // namespace kx::meter
