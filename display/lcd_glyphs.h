#pragma once

#include <QPointF>

#include <string_view>

class QPainter;

namespace kx::display {

// The LCD font at one size: the character height in pixels and whether it is bold. Its glyphs are
// drawn by hand: seven-segment digits, the overload L ("@") and the minus sign, the unit symbols
// ("+" micro, "*" ohm, "#" degrees Celsius, "?" degrees Fahrenheit), the annunciator symbols
// (double quote HOLD, "!" record, "$" low battery, ")" diode, "&" beeper) and LCD-style letters
// and "%". A code the font lacks takes the room of a letter and shows nothing.
struct LcdFont {
    qreal height;
    bool bold = false;
};

// A line of the font is this tall: a digit label is 112 pixels at character height 100.
qreal lcdLineHeight(LcdFont font);
qreal lcdTextWidth(std::string_view text, LcdFont font);

// Draws `text` in black, the top-left corner of its line at `topLeft`.
void paintLcdText(QPainter &painter, QPointF topLeft, std::string_view text, LcdFont font);

} // namespace kx::display
