#include "display/unit_glyphs.h"

#include <gtest/gtest.h>

TEST(UnitGlyphs, LcdLettersBecomeTheirSymbols)
{
    const struct {
        const char *unit;
        QString shown;
    } cases[] = {
        {"k*", u"kΩ"_qs}, {"M*", u"MΩ"_qs}, {"uA", u"µA"_qs}, {"+F", u"µF"_qs}, {"#", u"°C"_qs},
        {"?", u"°F"_qs},  {"mV", u"mV"_qs}, {"%", u"%"_qs},   {"Hz", u"Hz"_qs}, {"", QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kx::display::unitGlyphs(QString::fromLatin1(c.unit)), c.shown) << c.unit;
    EXPECT_NE(kx::display::unitGlyphs(u")"), u")");
    EXPECT_NE(kx::display::unitGlyphs(u"&"), u"&");
}
