#include "display/lcd_readout.h"

#include "display/unit_glyphs.h"

namespace kx::display {

QString lcdReadout(const meter::LcdModel &model, LcdBuild build)
{
    QString value;
    QString unitLetters;
    QString annunciators;
    for (const LcdElementRow &row : lcdElementRows()) {
        if (!row.placeIn(build) || !model.shown(row.element))
            continue;
        switch (row.readout) {
        case LcdReadoutPart::Sign:
            value += QLatin1Char('-');
            break;
        case LcdReadoutPart::Digit:
            for (const char glyph : model.caption(*lcdDigitOf(row.element)))
                value += QLatin1Char(glyph == '@' ? 'L' : glyph);
            break;
        case LcdReadoutPart::Point:
            value += QLatin1Char('.');
            break;
        case LcdReadoutPart::Prefix:
        case LcdReadoutPart::Unit:
            unitLetters += QLatin1StringView(row.caption.data(), qsizetype(row.caption.size()));
            break;
        case LcdReadoutPart::Annunciator:
            annunciators += QLatin1Char(' ');
            annunciators += QLatin1StringView(row.accessibleName.data(), qsizetype(row.accessibleName.size()));
            break;
        }
    }
    if (!unitLetters.isEmpty())
        value += QLatin1Char(' ') + unitGlyphs(unitLetters);
    value += annunciators;
    return value.trimmed();
}

} // namespace kx::display
