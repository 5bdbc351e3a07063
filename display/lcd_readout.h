#pragma once

#include "display/lcd_layout.h"

#include <QString>

namespace kx::display {

// What the LCD shows, as one line of text for assistive technology, e.g. "-12.345 mV DC AUTO": the
// sign, the digits with their point ("L" for the overload glyph, blank digits left out), the
// prefix and unit as `unitGlyphs` spells them, then the annunciators shown.
QString lcdReadout(const meter::LcdModel &model, LcdBuild build);

} // namespace kx::display
