#include "display/lcd_readout.h"

#include "display/unit_glyphs.h"

namespace kx::display {

QString lcdReadout(const meter::LcdModel &model, LcdBuild build)
{
    QString value;
    QString unitLetters;
    QString annunciators;
    for (const LcdElementSpec &spec : lcdElementSpecs()) {
        if (!spec.placeIn(build) || !model.shown(spec.element))
            continue;
        switch (spec.readout) {
        case LcdReadoutPart::Sign:
            value += QLatin1Char('-');
            break;
        case LcdReadoutPart::Digit:
            for (const char glyph : model.caption(*lcdDigitOf(spec.element)))
                value += QLatin1Char(glyph == '@' ? 'L' : glyph);
            break;
        case LcdReadoutPart::Point:
            value += QLatin1Char('.');
            break;
        case LcdReadoutPart::Prefix:
        case LcdReadoutPart::Unit:
            unitLetters += QLatin1StringView(spec.caption.data(), qsizetype(spec.caption.size()));
            break;
        case LcdReadoutPart::Annunciator:
            annunciators += QLatin1Char(' ');
            annunciators += QLatin1StringView(spec.accessibleName.data(), qsizetype(spec.accessibleName.size()));
            break;
        }
    }
    if (!unitLetters.isEmpty())
        value += QLatin1Char(' ') + unitGlyphs(unitLetters);
    value += annunciators;
    return value.trimmed();
}

} // namespace kx::display
