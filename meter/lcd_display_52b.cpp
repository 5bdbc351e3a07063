// The carriage-return line: line feed, nine data bytes, carriage return; only each byte's low digit
// counts. Positions of LastFrame:
//   1 "A" (line feed)  2 range digit  3 to 6 display digits  7 function digit
//   8 status: 8 selector (Hz/RPM, Celsius/Fahrenheit), 4 minus, 2 low battery, 1 overload
//   9 option 1 (with status 0, a 1 here overrides the function with frequency)
//   10 option 2: 8 DC, 4 AC, 2 auto ranging, 1 RS-232 signs dark   11 "D" (carriage return)
#include "meter/frame_text.h"
#include "meter/joined_text.h"
#include "meter/update_sequence.h"

#include <array>
#include <string_view>

namespace kx::meter {

namespace {

using E = LcdElement;

enum class Prefix : std::uint8_t { None, Kilo, Mega, Milli, Micro, Nano };

// What one range digit gives within a function: point flag (0 = none), prefix, and the unit text
// (empty: the function's own unit stays).
struct RangeEntry {
    std::uint8_t point = 0;
    Prefix prefix = Prefix::None;
    std::string_view unit;
};
// Indexed by the range digit; digits a function does not list give no point and no prefix.
using RangeTable = std::array<RangeEntry, 10>;

constexpr RangeEntry P(std::uint8_t point) { return {point, Prefix::None, {}}; }

constexpr RangeTable kVolt{{{3, Prefix::Milli, "mV"}, P(1), P(2), P(3)}};
constexpr RangeTable kVolt6270x{{P(1), P(2), P(3), P(0), {3, Prefix::Milli, "mV"}}};
constexpr RangeTable kMicroAmp{P(3)};
constexpr RangeTable kMilliAmp{{P(2), P(3)}};
constexpr RangeTable kOhm{{P(3), {1, Prefix::Kilo, "k*"}, {2, Prefix::Kilo, "k*"}, {3, Prefix::Kilo, "k*"},
                          {1, Prefix::Mega, "M*"}, {2, Prefix::Mega, "M*"}}};
constexpr RangeTable kHertz{{{0, Prefix::None, "Hz"}, {2, Prefix::Kilo, "kHz"}, {3, Prefix::Kilo, "kHz"},
                             {1, Prefix::Mega, "MHz"}, {2, Prefix::Mega, "MHz"}, {3, Prefix::Mega, "MHz"}}};
// The frequency override, and function 2 of the KX38D and KX52B: range 0 is kilohertz too.
constexpr RangeTable kHertzKilo0{{{1, Prefix::Kilo, "kHz"}, {2, Prefix::Kilo, "kHz"}, {3, Prefix::Kilo, "kHz"},
                                  {1, Prefix::Mega, "MHz"}, {2, Prefix::Mega, "MHz"}, {3, Prefix::Mega, "MHz"}}};
constexpr RangeTable kRpm{{{2, Prefix::Kilo, "kRPM"}, {3, Prefix::Kilo, "kRPM"}, {1, Prefix::Mega, "MRPM"},
                           {2, Prefix::Mega, "MRPM"}, {3, Prefix::Mega, "MRPM"}, {0, Prefix::Mega, "MRPM"}}};
constexpr RangeTable kFarad{{{1, Prefix::Nano, "nF"}, {2, Prefix::Nano, "nF"}, {3, Prefix::Nano, "nF"},
                             {1, Prefix::Micro, "uF"}, {2, Prefix::Micro, "uF"}, {3, Prefix::Micro, "uF"},
                             {1, Prefix::Milli, "mF"}, {2, Prefix::Milli, "mF"}}};

struct Flags {
    std::array<bool, 4> point{}; // index 1 to 3
    bool kilo = false, mega = false, milli = false, micro = false, nano = false, ampere = false;

    void setPrefix(Prefix prefix)
    {
        switch (prefix) {
        case Prefix::None: break;
        case Prefix::Kilo: kilo = true; break;
        case Prefix::Mega: mega = true; break;
        case Prefix::Milli: milli = true; break;
        case Prefix::Micro: micro = true; break;
        case Prefix::Nano: nano = true; break;
        }
    }
};

struct Decoding {
    Meter &meter;
    FrameText frame;
    Flags flags;

    // The range digit is read as a decimal number only by the functions that list ranges.
    Failure applyRange(const RangeTable &table)
    {
        std::int32_t range = 0;
        if (Failure failure = toInteger(frame.digitText(2), range))
            return failure;
        if (range < 0 || static_cast<std::size_t>(range) >= table.size())
            return std::nullopt;
        const RangeEntry &entry = table[static_cast<std::size_t>(range)];
        if (entry.point != 0)
            flags.point[entry.point] = true;
        flags.setPrefix(entry.prefix);
        if (!entry.unit.empty())
            meter.state.UnitText = entry.unit;
        return std::nullopt;
    }

    // The function tests, in order; a frame matches at most one of them.
    Failure applyFunction(std::uint8_t status)
    {
        LcdModel &lcd = meter.lcd;
        std::string &unit = meter.state.UnitText;
        const bool m6270x = meter.flags.has(ProfileFlag::IF6270x);
        const char function = frame.at(7);

        if (function == 'B') {
            lcd.show(E::LcdV);
            unit = "V";
            if (Failure failure = applyRange(m6270x ? kVolt6270x : kVolt))
                return failure;
        } else {
            lcd.hide(E::LcdV);
        }

        if (function == 'D') {
            flags.micro = flags.ampere = true;
            unit = "uA";
            if (Failure failure = applyRange(kMicroAmp))
                return failure;
        }

        // The 6270x swaps the milliampere and ampere sockets of functions 9 and F.
        const auto milliAmpere = [&]() -> Failure {
            flags.milli = flags.ampere = true;
            unit = "mA";
            return applyRange(kMilliAmp);
        };
        const auto ampere = [&] {
            flags.ampere = true;
            flags.point[2] = true;
            unit = "A";
        };
        if (function == '9') {
            if (!m6270x) {
                if (Failure failure = milliAmpere())
                    return failure;
            } else {
                ampere();
            }
        }
        if (function == 'F') {
            if (m6270x) {
                if (Failure failure = milliAmpere())
                    return failure;
            } else {
                ampere();
            }
        }

        if (function == '3') {
            lcd.show(E::LCDohm);
            unit = "*";
            if (Failure failure = applyRange(kOhm))
                return failure;
        } else {
            lcd.hide(E::LCDohm);
        }

        if (function == '2') {
            const bool hertz = (status & 8) == 0 || m6270x;
            lcd.show(E::LCDHz, hertz);
            lcd.show(E::LcdRPM, !hertz);
            const bool kilo0 = meter.flags.has(ProfileFlag::IFKX38D) || meter.flags.has(ProfileFlag::IFKX52B);
            if (Failure failure = applyRange(!hertz ? kRpm : kilo0 ? kHertzKilo0 : kHertz))
                return failure;
        } else {
            lcd.hide(E::LcdRPM);
            lcd.hide(E::LCDHz);
        }

        if (function == '4') {
            const bool celsius = (status & 8) != 0;
            lcd.show(E::LCDCS, celsius);
            lcd.show(E::LCDFS, !celsius);
            unit = celsius ? "#" : "?";
        } else {
            lcd.hide(E::LCDCS);
            lcd.hide(E::LCDFS);
        }

        if (function == '5') {
            lcd.show(E::LCDFm);
            flags.point[3] = true;
            unit = "&";
            if (meter.flags.has(ProfileFlag::IFKX38D)) {
                lcd.show(E::LCDohm);
                unit = "&*";
            }
        } else {
            lcd.hide(E::LCDFm);
        }

        if (function == '1') {
            lcd.show(E::LCDDI);
            lcd.show(E::LcdV);
            flags.point[1] = true;
            unit = ")";
        } else {
            lcd.hide(E::LCDDI);
        }

        if (function == '6') {
            lcd.show(E::LCDF);
            if (Failure failure = applyRange(kFarad))
                return failure;
        } else {
            lcd.hide(E::LCDF);
        }
        return std::nullopt;
    }
};

constexpr std::array<E, 3> kPoints{E::LcdP1, E::LcdP2, E::LcdP3};
constexpr std::array<E, 4> kDigits{E::LcdDa, E::LcdDb, E::LcdDc, E::LcdDd};

} // namespace

Failure LcdDisplay52B(Meter &meter)
{
    ReadingState &s = meter.state;
    LcdModel &lcd = meter.lcd;
    MeterWindow &w = meter.window;
    const ProfileFlags &profile = meter.flags;
    showLinkAlive(meter);
    w.Memo1Append(s.LastFrame);

    Decoding decoding{meter, FrameText(s.LastFrame), {}};
    const FrameText &frame = decoding.frame;
    const std::uint8_t status = frame.nibble(8);
    const std::uint8_t option2 = frame.nibble(10);
    const bool overload = (status & 1) != 0;

    // Digit glyphs d1 to d4; an overload shows "0" and the letter L in the second and third place.
    std::array<char, 4> d{frame.at(3), frame.at(4), frame.at(5), frame.at(6)};
    if (overload) {
        d[2] = '@';
        d[1] = '0';
    }

    s.CouplingText.clear();
    s.RangeModeText.clear();
    s.UnitText.clear();

    const bool negative = (status & 4) != 0;
    lcd.show(E::LcdFH, negative);
    lcd.show(E::LCDBATT, (status & 2) != 0);

    const bool kx964 = profile.has(ProfileFlag::IFKX964);
    const bool ac = (option2 & 4) != 0;
    lcd.show(E::LcdAC, ac && !kx964);
    if (ac)
        s.CouplingText = "AC";
    if (kx964)
        for (E element : {E::LcdACDC, E::LCDTRMST, E::LCDTRMS})
            lcd.show(element, ac);
    const bool dc = (option2 & 8) != 0;
    lcd.show(E::LcdDc1, dc);
    if (dc)
        s.CouplingText = "DC";
    const bool autoRange = (option2 & 2) != 0;
    lcd.show(E::LcdAuto, autoRange);
    s.RangeModeText = autoRange ? "AUTO" : "MANU";
    const bool rs232 = !kx964 && (option2 & 1) == 0;
    lcd.show(E::LCDRS, rs232);
    lcd.show(E::LCD232C, rs232);

    if (Failure failure = decoding.applyFunction(status))
        return failure;

    Flags &flags = decoding.flags;
    if (frame.at(8) == '0' && frame.at(9) == '1') {
        flags = {};
        lcd.hide(E::LcdV);
        lcd.show(E::LCDHz);
        lcd.hide(E::LcdRPM);
        if (Failure failure = decoding.applyRange(kHertzKilo0))
            return failure;
    }

    std::array<std::string_view, 4> pointText{};
    for (std::size_t k = 1; k <= 3; ++k) {
        pointText[k] = flags.point[k] ? "." : "";
        lcd.show(kPoints[k - 1], flags.point[k]);
    }
    lcd.show(E::LCDk, flags.kilo);
    lcd.show(E::LCDM1, flags.mega);
    lcd.show(E::Lcdm, flags.milli);
    lcd.show(E::LCDu, flags.micro);
    lcd.show(E::LCDA, flags.ampere);
    lcd.show(E::LCDn, flags.nano);

    if (profile.has(ProfileFlag::IF6270x)) {
        // The 6270x sends a last digit that its own LCD does not show in diode and continuity.
        if (lcd.shown(E::LCDDI)) {
            d[3] = 0;
            s.UnitText += 'V';
        }
        if (lcd.shown(E::LCDFm)) {
            d[3] = 0;
            pointText[3] = "";
            lcd.hide(E::LcdP3);
            s.UnitText += '*';
            lcd.show(E::LCDohm);
        }
    }

    const char *sign = negative ? "-" : "";
    s.DisplayText = sign;
    if (!overload) {
        for (std::size_t k = 0; k < 4; ++k) {
            if (d[k])
                s.DisplayText += d[k];
            if (k < 3)
                s.DisplayText += pointText[k + 1];
        }
    } else {
        s.DisplayText += pointText[1];
        s.DisplayText += '0';
        s.DisplayText += pointText[2];
        s.DisplayText += 'L';
        s.DisplayText += pointText[3];
    }

    // The overload reading lies one count beyond full scale.
    if (Failure failure = setReadingValue(s, negative, d, overload, s.FullScale + 1))
        return failure;

    // Leading zeros are blanked on the LCD only; DisplayText keeps them.
    std::array<bool, 4> visible{true, true, true, true};
    const bool anyPoint = flags.point[1] || flags.point[2] || flags.point[3];
    if (!anyPoint) {
        if (d[0] == '0' && d[1] == '0' && d[2] == '0')
            visible[0] = visible[1] = visible[2] = false;
        else if (d[0] == '0' && d[1] == '0')
            visible[0] = visible[1] = false;
        else if (d[0] == '0')
            visible[0] = false;
    }
    if (flags.point[2] && d[0] == '0')
        visible[0] = false;
    if (flags.point[3] && d[0] == '0' && d[1] == '0')
        visible[0] = visible[1] = false;
    if (flags.point[3] && d[0] == '0')
        visible[0] = false;
    if (overload)
        visible[0] = visible[3] = false;
    for (std::size_t k = 0; k < 4; ++k)
        lcd.show(kDigits[k], visible[k]);

    return runUpdateSequence(meter, {.negative = negative,
                                     .digits = d,
                                     .pointPosition = shownPointPosition(lcd),
                                     .overload = overload,
                                     .resetMaxReading = static_cast<float>(-(s.FullScale + 1)),
                                     .resetMinReading = static_cast<float>(s.FullScale + 1),
                                     // The diode range overloads at a quarter of the bar.
                                     .barAtOverload = frame.at(7) == '1' ? 25 : s.BarFull});
}

} // namespace kx::meter
