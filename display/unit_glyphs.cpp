#include "display/unit_glyphs.h"

#include <algorithm>
#include <iterator>

namespace kx::display {

namespace {

struct Glyph {
    char16_t letter;
    const char16_t *shown;
};

constexpr Glyph kGlyphs[] = {
    {u'u', u"µ"},  {u'+', u"µ"},  {u'*', u"Ω"},  {u'#', u"°C"},
    {u'?', u"°F"}, {u')', u"▶|"}, {u'&', u"♪"},
};

} // namespace

QString unitGlyphs(QStringView unitText)
{
    QString shown;
    shown.reserve(unitText.size() + 1);
    for (const QChar c : unitText) {
        const auto glyph = std::find_if(std::begin(kGlyphs), std::end(kGlyphs),
                                        [c](const Glyph &g) { return g.letter == c.unicode(); });
        if (glyph != std::end(kGlyphs))
            shown += QString::fromUtf16(glyph->shown);
        else
            shown += c;
    }
    return shown;
}

} // namespace kx::display
