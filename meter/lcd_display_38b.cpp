// The four-digit meter's segment frame: 14 bytes at 2400 baud, each byte's high nibble its position
// 1 to E, the low nibble four LCD segments or annunciators (bit 3 first):
//   nibble 1: AC, DC, AUTO, RS232C
//   nibbles 2 to 9: per digit k, nibble 2k: point before digit k (sign for k = 1), e, f, a;
//                   nibble 2k+1: d, c, g, b
//   nibble 10: micro, nano, kilo, diode      nibble 11: milli, percent, mega, beeper
//   nibble 12: farad, ohm, Rec, HOLD         nibble 13: ampere, volt, hertz, low battery
//   nibble 14: -, -, -, degrees Celsius
#include "meter/frame_text.h"
#include "meter/update_sequence.h"

#include <array>

namespace kx::meter {

namespace {

using E = LcdElement;

// Segment pattern d c g b e f a (nibble 2k+1 bits 3..0, nibble 2k bits 2..0) to glyph.
char segmentGlyph(std::uint8_t pattern, bool overloadPlace)
{
    switch (pattern) {
    case 0b1101111: return '0';
    case 0b0101000: return '1';
    case 0b1011101: return '2';
    case 0b1111001: return '3';
    case 0b0111010: return '4';
    case 0b1110011: return '5';
    case 0b1110111: return '6';
    case 0b0101001: return '7';
    case 0b1111111: return '8';
    case 0b1111011: return '9';
    // The letter L of an overload appears in the third digit only.
    case 0b1000110: return overloadPlace ? '@' : 0;
    default: return 0;
    }
}

struct Annunciator {
    std::uint8_t nibble;
    std::uint8_t bit;
    E element;
    char unitLetter;
};

// In this order the letters compose "k*", "mV", "uA", "nF", "kHz", "%".
constexpr std::array<Annunciator, 15> kAnnunciators{{
    {10, 3, E::LCDu, 'u'}, {10, 2, E::LCDn, 'n'}, {10, 1, E::LCDk, 'k'}, {10, 0, E::LCDDI, 0},
    {11, 3, E::Lcdm, 'm'}, {11, 2, E::LCDBF, '%'}, {11, 1, E::LCDM1, 'M'}, {11, 0, E::LCDFm, 0},
    {12, 3, E::LCDF, 'F'}, {12, 2, E::LCDohm, '*'}, {12, 1, E::LCDRec, 0}, {12, 0, E::LCDHold, 0},
    {13, 3, E::LCDA, 'A'}, {13, 2, E::LcdV, 'V'}, {13, 0, E::LCDBATT, 0},
}};

constexpr std::array<E, 3> kPoints{E::LcdP1, E::LcdP2, E::LcdP3};

} // namespace

Failure LcdDisplay38B(Meter &meter)
{
    ReadingState &s = meter.state;
    LcdModel &lcd = meter.lcd;
    showLinkAlive(meter);

    const FrameText frame(s.LastFrame);
    std::array<std::uint8_t, 15> nibble{};
    for (std::size_t i = 1; i <= 14; ++i)
        nibble[i] = frame.nibble(i);
    const auto bit = [&](std::size_t n, int b) { return ((nibble[n] >> b) & 1) != 0; };

    std::array<char, 4> digits{};
    for (std::size_t k = 1; k <= 4; ++k) {
        const auto pattern = static_cast<std::uint8_t>((nibble[2 * k + 1] << 3) | (nibble[2 * k] & 0x7));
        digits[k - 1] = segmentGlyph(pattern, k == 3);
    }

    s.CouplingText.clear();
    s.RangeModeText.clear();
    s.UnitText.clear();

    const bool negative = bit(2, 3);
    lcd.show(E::LcdFH, negative);
    std::array<bool, 3> points{};
    for (std::size_t k = 0; k < 3; ++k) {
        points[k] = bit(4 + 2 * k, 3);
        lcd.show(kPoints[k], points[k]);
    }

    const bool ac = bit(1, 3);
    lcd.show(E::LcdAC, ac);
    if (ac)
        s.CouplingText = "AC";
    if (meter.flags.has(ProfileFlag::IFKX38E)) {
        lcd.show(E::LCDTRMST, ac);
        lcd.show(E::LCDTRMS, ac);
    }
    if (bit(1, 2))
        s.CouplingText = "DC";
    lcd.show(E::LcdAuto, bit(1, 1));
    s.RangeModeText = bit(1, 1) ? "AUTO" : "MANU";
    lcd.show(E::LCDRS, bit(1, 0));
    lcd.show(E::LCD232C, bit(1, 0));

    for (const Annunciator &a : kAnnunciators) {
        const bool on = bit(a.nibble, a.bit);
        lcd.show(a.element, on);
        if (on && a.unitLetter)
            s.UnitText += a.unitLetter;
    }

    const bool hertz = bit(13, 1);
    const bool celsius = bit(14, 0) && !hertz;
    lcd.show(E::LCDCS, celsius);
    if (celsius) {
        s.CouplingText.clear();
        s.UnitText = "#";
    }

    const bool previousFrequencyMode = s.FrequencyMode;
    lcd.show(E::LCDHz, hertz);
    if (hertz) {
        s.UnitText += "Hz";
        s.RangeModeText = "AUTO";
    }
    s.FrequencyMode = hertz;
    applyFrequencyMode(meter, previousFrequencyMode);

    const char *sign = negative ? "-" : "";
    s.DisplayText = sign;
    for (std::size_t k = 0; k < 4; ++k) {
        const char glyph = digits[k];
        if (glyph)
            s.DisplayText += glyph == '@' ? 'L' : glyph;
        if (k < 3 && points[k])
            s.DisplayText += '.';
    }

    const bool overload = digits[1] == '0' && digits[2] == '@';
    if (Failure failure = setReadingValue(s, negative, digits, overload, s.FullScale))
        return failure;

    return runUpdateSequence(meter, {.negative = negative,
                                     .digits = digits,
                                     .pointPosition = shownPointPosition(lcd),
                                     .overload = overload,
                                     .resetMaxReading = static_cast<float>(-s.FullScale),
                                     .resetMinReading = static_cast<float>(s.FullScale),
                                     .barAtOverload = s.BarFull});
}

} // namespace kx::meter
