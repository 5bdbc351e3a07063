// The five-digit meter's line: nine data bytes, carriage return, line feed; only each byte's low
// digit counts. Positions of LastFrame:
//   1 to 5 display digits (1 = "A": overload; 4 = "B": all five digits "0")
//   6 range digit  7 function digit  8 coupling: 1 AC, 3 AC+DC
//   9 status: 8 ignored, 4 minus, 2 or 1 auto ranging   10, 11 end mark "DA"
#include "meter/frame_text.h"
#include "meter/joined_text.h"
#include "meter/update_sequence.h"

#include <array>
#include <string_view>

namespace kx::meter {

namespace {

using E = LcdElement;
constexpr std::int8_t kNone = kNoPointIndex;

// What one range digit gives within a function: point index and prefix sign with its letter.
struct RangeEntry {
    std::int8_t point = kNone;
    char prefix = 0;
};
using RangeTable = std::array<RangeEntry, 10>;

constexpr RangeEntry K(std::int8_t point) { return {point, 'k'}; }
constexpr RangeEntry M(std::int8_t point) { return {point, 'M'}; }
constexpr RangeEntry N(std::int8_t point) { return {point, 'n'}; }
constexpr RangeEntry U(std::int8_t point) { return {point, 'u'}; }
constexpr RangeEntry Mi(std::int8_t point) { return {point, 'm'}; }
constexpr RangeEntry P(std::int8_t point) { return {point, 0}; }
constexpr RangeEntry X{};

constexpr RangeTable anyRange(std::int8_t point)
{
    RangeTable table{};
    table.fill(P(point));
    return table;
}

struct FunctionRow {
    std::array<E, 2> signs; // E::LcdFH marks an unused place
    std::string_view unit;
    RangeTable ranges;
};

constexpr E kNoSign = E::LcdFH;
constexpr RangeTable kVoltRanges{X, P(0), P(1), P(2), P(3), X, X, X, X, X};

// Indexed by the function digit; 0 and E light nothing.
constexpr std::array<FunctionRow, 16> kFunctions{{
    {{kNoSign, kNoSign}, "", {}},
    {{E::LcdV, kNoSign}, "V", kVoltRanges},
    {{E::LcdV, kNoSign}, "V", kVoltRanges},
    {{E::LcdV, E::Lcdm}, "mV", anyRange(2)},
    {{E::LCDohm, kNoSign}, "*", {P(kNone), P(2), K(0), K(1), K(2), M(0), M(1), X, X, X}},
    {{E::LCDF, kNoSign}, "F", {X, N(1), N(2), U(0), U(1), U(2), Mi(0), Mi(1), X, X}},
    {{E::LCDCS, kNoSign}, "#", anyRange(3)},
    {{E::LCDA, kNoSign}, "A", {U(2), U(3), X, X, X, X, X, X, X, X}},
    {{E::LCDA, kNoSign}, "A", {Mi(1), Mi(2), X, X, X, X, X, X, X, X}},
    {{E::LCDA, kNoSign}, "A", anyRange(1)},
    {{E::LCDFm, E::LCDohm}, "*", anyRange(2)},
    {{E::LCDDI, E::LcdV}, "V", anyRange(0)},
    {{E::LCDHz, kNoSign}, "Hz", {P(1), P(2), K(0), K(1), K(2), M(0), M(1), M(2), X, X}},
    {{E::LCDFS, kNoSign}, "?", anyRange(3)},
    {{kNoSign, kNoSign}, "", {}},
    {{E::LCDBF, kNoSign}, "%", anyRange(2)},
}};

E prefixSign(char prefix)
{
    switch (prefix) {
    case 'k': return E::LCDk;
    case 'M': return E::LCDM1;
    case 'n': return E::LCDn;
    case 'u': return E::LCDu;
    default: return E::Lcdm;
    }
}

constexpr std::array<E, 15> kFunctionSigns{E::LcdV, E::Lcdm, E::LCDohm, E::LCDk, E::LCDM1, E::LCDF, E::LCDn, E::LCDu,
                                           E::LCDCS, E::LCDA, E::LCDHz, E::LCDBF, E::LCDFm, E::LCDDI, E::LCDFS};
constexpr std::array<E, 4> kPoints{E::LcdP0, E::LcdP1, E::LcdP2, E::LcdP3};

} // namespace

Failure LcdDisplay53A(Meter &meter)
{
    ReadingState &s = meter.state;
    LcdModel &lcd = meter.lcd;
    showLinkAlive(meter);

    const FrameText frame(s.LastFrame);
    std::array<char, 5> d{};
    if (frame.at(10) == 'D' && frame.at(11) == 'A') {
        if (frame.at(1) == 'A') {
            d[2] = '0';
            d[3] = '@';
        } else if (frame.at(4) == 'B') {
            d.fill('0');
        } else {
            for (std::size_t k = 0; k < 5; ++k)
                d[k] = frame.at(k + 1);
        }
    }
    meter.window.setUSBtxt(s.LastFrame);
    for (std::size_t k = 0; k < 5; ++k)
        lcd.setCaption(static_cast<LcdDigit>(k), d[k]);

    s.CouplingText.clear();
    s.RangeModeText.clear();
    s.UnitText.clear();
    for (E sign : kFunctionSigns)
        lcd.hide(sign);

    std::int32_t range = 0;
    if (Failure failure = toInteger(frame.digitText(6), range))
        return failure;
    const FunctionRow &row = kFunctions[frame.nibble(7)];
    for (E sign : row.signs)
        if (sign != kNoSign)
            lcd.show(sign);
    RangeEntry entry;
    if (range >= 0 && static_cast<std::size_t>(range) < row.ranges.size())
        entry = row.ranges[static_cast<std::size_t>(range)];
    if (entry.prefix) {
        lcd.show(prefixSign(entry.prefix));
        s.UnitText += entry.prefix;
    }
    s.UnitText += row.unit;

    for (E element : {E::LcdAC, E::LCDJa, E::LcdDc1, E::LCDTRMST, E::LCDTRMS})
        lcd.hide(element);
    std::int32_t coupling = 0;
    if (Failure failure = toInteger(frame.digitText(8), coupling))
        return failure;
    if (coupling == 1 || coupling == 3) {
        for (E element : {E::LcdAC, E::LCDTRMST, E::LCDTRMS})
            lcd.show(element);
        s.CouplingText = "AC";
    }
    if (coupling == 3) {
        lcd.show(E::LCDJa);
        lcd.show(E::LcdDc1);
        s.CouplingText = "+";
    }

    std::uint8_t status = frame.nibble(9) & 0x7;
    const bool negative = status >= 4;
    lcd.show(E::LcdFH, negative);
    status &= 0x3;
    lcd.show(E::LcdAuto, status >= 1);
    if (status >= 1)
        s.RangeModeText = "AUTO";

    std::array<std::string_view, 4> pointText{};
    for (std::size_t k = 0; k < 4; ++k) {
        const bool here = entry.point == static_cast<std::int8_t>(k);
        pointText[k] = here ? "." : "";
        lcd.show(kPoints[k], here);
    }

    const char *sign = negative ? "-" : "";
    s.DisplayText = sign;
    for (std::size_t k = 0; k < 5; ++k) {
        if (d[k])
            s.DisplayText += d[k] == '@' ? 'L' : d[k];
        if (k < 4)
            s.DisplayText += pointText[k];
    }

    // The five-digit meter's overload reading is exactly full scale.
    const bool overload = d[2] == '0' && d[3] == '@';
    if (Failure failure = setReadingValue(s, negative, d, overload, s.FullScale))
        return failure;

    return runUpdateSequence(meter, {.negative = negative,
                                     .digits = d,
                                     .pointPosition = entry.point,
                                     .overload = overload,
                                     .resetMaxReading = static_cast<float>(-s.FullScale),
                                     .resetMinReading = static_cast<float>(s.FullScale),
                                     .barAtOverload = s.BarFull});
}

} // namespace kx::meter
