#include "display/lcd_layout.h"

namespace kx::display {

namespace {

using E = meter::LcdElement;
using Kind = LcdElementKind;
using Part = LcdReadoutPart;
constexpr bool kBold = true;
constexpr bool kRegular = false;
constexpr std::nullopt_t none = std::nullopt;

constexpr std::optional<LcdPlace> at(int x, int y, int fontHeight = 0)
{
    return LcdPlace{{x, y}, fontHeight};
}

// Positions in the panel and character heights, per build; the text elements are as wide as their
// captions unless the row fixes a width.
constexpr LcdElementRow kElements[] = {
    {E::LcdFH, Kind::LcdText, "-", kRegular, 26, Part::Sign, "Minus sign", at(5, 20, 100), at(5, 20, 100)},
    {E::LcdD0, Kind::Digit, "", kRegular, 0, Part::Digit, "Leading digit", at(40, 20, 100), none},
    {E::LcdP0, Kind::Point, "", kRegular, 0, Part::Point, "Point after the leading digit", at(78, 105), none},
    {E::LcdDa, Kind::Digit, "", kRegular, 0, Part::Digit, "First digit", at(88, 20, 100), at(40, 20, 100)},
    {E::LcdP1, Kind::Point, "", kRegular, 0, Part::Point, "Point after the first digit", at(127, 105), at(79, 105)},
    {E::LcdDb, Kind::Digit, "", kRegular, 0, Part::Digit, "Second digit", at(136, 20, 100), at(88, 20, 100)},
    {E::LcdP2, Kind::Point, "", kRegular, 0, Part::Point, "Point after the second digit", at(175, 105), at(127, 105)},
    {E::LcdDc, Kind::Digit, "", kRegular, 0, Part::Digit, "Third digit", at(184, 20, 100), at(136, 20, 100)},
    {E::LcdP3, Kind::Point, "", kRegular, 0, Part::Point, "Point after the third digit", at(224, 105), at(176, 105)},
    {E::LcdDd, Kind::Digit, "", kRegular, 0, Part::Digit, "Last digit", at(232, 20, 100), at(184, 20, 100)},

    {E::LCDn, Kind::LcdText, "n", kRegular, 0, Part::Prefix, "nano", at(288, 82, 24), at(240, 82, 24)},
    {E::LCDu, Kind::LcdText, "+", kRegular, 0, Part::Prefix, "micro", at(288, 75, 32), at(240, 75, 32)},
    {E::Lcdm, Kind::LcdText, "m", kRegular, 0, Part::Prefix, "milli", at(280, 81, 24), at(232, 81, 24)},
    {E::LCDk, Kind::LcdText, "k", kRegular, 0, Part::Prefix, "kilo", at(286, 55, 27), at(238, 55, 27)},
    {E::LCDM1, Kind::LcdText, "M", kRegular, 0, Part::Prefix, "mega", at(278, 57, 24), at(230, 57, 24)},

    {E::LcdV, Kind::LcdText, "V", kRegular, 0, Part::Unit, "volt", at(304, 83, 24), at(256, 83, 24)},
    {E::LCDA, Kind::LcdText, "A", kRegular, 0, Part::Unit, "ampere", at(304, 82, 24), at(256, 82, 24)},
    {E::LCDF, Kind::LcdText, "F", kRegular, 0, Part::Unit, "farad", at(304, 82, 24), at(256, 82, 24)},
    {E::LCDohm, Kind::LcdText, "*", kRegular, 0, Part::Unit, "ohm", at(304, 54, 29), at(256, 54, 29)},
    {E::LCDHz, Kind::LcdText, "Hz", kRegular, 0, Part::Unit, "hertz", at(296, 58, 24), at(248, 58, 24)},
    {E::LCDCS, Kind::LcdText, "#", kRegular, 0, Part::Unit, "degrees Celsius", at(304, 33, 32), at(248, 33, 32)},
    {E::LCDFS, Kind::LcdText, "?", kRegular, 0, Part::Unit, "degrees Fahrenheit", at(304, 33, 32), at(248, 33, 32)},
    {E::LCDBF, Kind::LcdText, "%", kRegular, 0, Part::Unit, "percent", at(136, 8, 24), at(136, 8, 24)},
    {E::LCDDI, Kind::LcdText, ")", kRegular, 0, Part::Unit, "diode test", at(296, 33, 29), at(248, 33, 29)},
    {E::LCDFm, Kind::LcdText, "&", kRegular, 25, Part::Unit, "continuity beeper", at(296, 31, 32), at(248, 31, 32)},

    {E::LcdACDC, Kind::ArialText, "AC+DC", kBold, 0, Part::Annunciator, "AC+DC", at(77, 14, 16), at(77, 14, 16)},
    {E::LcdAC, Kind::LcdText, "AC", kBold, 0, Part::Annunciator, "AC", at(182, 14, 20), at(6, 38, 21)},
    {E::LCDJa, Kind::ArialText, "+", kRegular, 0, Part::Annunciator, "+", at(211, 13, 21), none},
    {E::LcdDc1, Kind::LcdText, "DC", kBold, 0, Part::Annunciator, "DC", at(223, 14, 20), at(5, 38, 21)},
    {E::LcdAuto, Kind::LcdText, "AUTO", kBold, 0, Part::Annunciator, "AUTO", at(8, 11, 19), at(8, 11, 19)},
    {E::LCDTRMST, Kind::LcdText, "T", kBold, 0, Part::Annunciator, "T", at(253, 13, 19), at(230, 10, 19)},
    {E::LCDTRMS, Kind::LcdText, "RMS", kBold, 0, Part::Annunciator, "RMS", at(264, 19, 12), at(241, 16, 12)},
    {E::LcdRPM, Kind::LcdText, "RPM", kBold, 0, Part::Annunciator, "RPM", at(286, 11, 19), at(230, 11, 19)},
    {E::LCDHold, Kind::LcdText, "\"", kRegular, 0, Part::Annunciator, "HOLD", at(8, 30, 35), at(160, -2, 35)},
    {E::LCDRS, Kind::LcdText, "RS", kBold, 0, Part::Annunciator, "RS", at(70, 11, 19), at(70, 11, 19)},
    {E::LCD232C, Kind::ArialText, "232C", kBold, 0, Part::Annunciator, "232C", at(98, 15, 14), at(98, 15, 14)},
    {E::LCDRec, Kind::LcdText, "!", kRegular, 0, Part::Annunciator, "REC", at(160, 3, 32), at(184, 3, 32)},
    {E::LCDBATT, Kind::LcdText, "$", kRegular, 0, Part::Annunciator, "BATT", at(8, 80, 35), at(208, 0, 35)},
};
static_assert(std::size(kElements) == meter::kLcdElementCount, "every LCD element has a row");

} // namespace

LcdBuild thisLcdBuild()
{
    return meter::lcdElementInBuild(E::LcdD0) ? LcdBuild::FiveDigit : LcdBuild::FourDigit;
}

std::span<const LcdElementRow> lcdElementRows()
{
    return kElements;
}

std::optional<meter::LcdDigit> lcdDigitOf(meter::LcdElement element)
{
    for (std::size_t i = 0; i < meter::kLcdDigitCount; ++i) {
        const auto digit = static_cast<meter::LcdDigit>(i);
        if (meter::lcdDigitElement(digit) == element)
            return digit;
    }
    return std::nullopt;
}

QSize lcdPanelSize(LcdBuild build)
{
    return build == LcdBuild::FiveDigit ? QSize(334, 129) : QSize(285, 129);
}

} // namespace kx::display
