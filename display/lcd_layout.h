#pragma once

#include "meter/lcd_model.h"

#include <QPoint>
#include <QSize>

#include <optional>
#include <span>
#include <string_view>

namespace kx::display {

// The two LCD layouts: the five-digit LCD of the 40000-count meter and the four-digit one of the
// 4000-count meter. Both live in the code; a program shows the one of its build.
enum class LcdBuild : std::uint8_t { FiveDigit, FourDigit };

// The layout of the program's own build: five digits where the build has the leading digit.
LcdBuild thisLcdBuild();

// How an element draws itself.
enum class LcdElementKind : std::uint8_t {
    Digit,      // a digit label: the model's glyph in the LCD font, 38 x 112
    Point,      // a decimal point: a solid 7 x 8 square
    LcdText,    // a fixed caption in the LCD font
    ArialText,  // a fixed caption in Liberation Sans (the layout's Arial)
};

// What the accessible reading of the LCD makes of an element (see lcdReadout).
enum class LcdReadoutPart : std::uint8_t { Sign, Digit, Point, Prefix, Unit, Annunciator };

// Where an element sits in one build's panel and its font's character height in pixels.
struct LcdPlace {
    QPoint topLeft;
    int fontHeight;
};

struct LcdElementRow {
    meter::LcdElement element;
    LcdElementKind kind;
    std::string_view caption;  // in the LCD font's letters; digits take theirs from the model
    bool bold;
    int fixedWidth;  // 0: as wide as the caption
    LcdReadoutPart readout;
    std::string_view accessibleName;
    std::optional<LcdPlace> fiveDigit;
    std::optional<LcdPlace> fourDigit;

    std::optional<LcdPlace> placeIn(LcdBuild build) const
    {
        return build == LcdBuild::FiveDigit ? fiveDigit : fourDigit;
    }
};

// Every element of both builds, in the order the LCD is read out: sign, digits and points left
// to right, prefixes, units, annunciators.
std::span<const LcdElementRow> lcdElementRows();

// The digit an element shows, for the digit labels.
std::optional<meter::LcdDigit> lcdDigitOf(meter::LcdElement element);

// The panel `Panel1`.
QSize lcdPanelSize(LcdBuild build);

// A digit label's size; the points' size.
inline constexpr QSize kLcdDigitSize{38, 112};
inline constexpr QSize kLcdPointSize{7, 8};

} // namespace kx::display
