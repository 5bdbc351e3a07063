#pragma once

#include <string_view>

namespace kx::display {

// The strokes of an LCD-style letter (or "%") on a grid 4 wide: x 0 to 4, y 0 (capital height)
// to 6 (baseline), 2 the top of small letters. Points are two digits "xy", separated by spaces;
// "|" lifts the pen. Empty for a code that is no letter of the font.
std::string_view lcdLetterStrokes(char code);

} // namespace kx::display
