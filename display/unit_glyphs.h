#pragma once

#include <QString>
#include <QStringView>

namespace kx::display {

// A unit text in the LCD font's letters as ordinary text: "u" and "+" micro, "*" ohm, "#" degrees
// Celsius, "?" degrees Fahrenheit, ")" diode, "&" beeper; every other letter (and "%") stands for
// itself. "k*" reads "kΩ". Shared by everything that shows a unit outside the LCD.
QString unitGlyphs(QStringView unitText);

} // namespace kx::display
