#include "display/lcd_readout.h"

#include "lcd_test_models.h"

#include <gtest/gtest.h>

namespace {

using E = kx::meter::LcdElement;
using kx::display::LcdBuild;
using kx::display::lcdReadout;

TEST(LcdReadout, ReadsTheLcdAsText)
{
    struct Case {
        LcdBuild build;
        kx::meter::LcdModel model;
        const char *expected;
    };
    const Case cases[] = {
        {LcdBuild::FiveDigit,
         lcdShowing({E::LcdFH, E::LcdD0, E::LcdDa, E::LcdP1, E::LcdDb, E::LcdDc, E::LcdDd, E::Lcdm, E::LcdV, E::LcdDc1,
                     E::LcdAuto},
                    "12345"),
         "-12.345 mV DC AUTO"},
        // Overload: "0" and the L glyph, the blank digits around them left out.
        {LcdBuild::FourDigit,
         lcdShowing({E::LcdDa, E::LcdDb, E::LcdDc, E::LcdDd, E::LCDM1, E::LCDohm}, "  0@ "),
         "0L MΩ"},
        // A leading digit hidden by the decoder is not read even though it has a glyph.
        {LcdBuild::FourDigit,
         lcdShowing({E::LcdDb, E::LcdP2, E::LcdDc, E::LcdDd, E::LCDu, E::LCDA, E::LcdAC, E::LCDTRMST, E::LCDTRMS},
                    " 0199"),
         "1.99 µA AC T RMS"},
        // The four-digit LCD has no leading digit to read, whatever the model holds.
        {LcdBuild::FourDigit, lcdShowing({E::LcdD0, E::LcdDa, E::LCDCS, E::LCDHold}, "71"), "1 °C HOLD"},
        {LcdBuild::FiveDigit, lcdShowing({E::LcdAC, E::LCDJa, E::LcdDc1}, ""), "AC + DC"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lcdReadout(c.model, c.build), QString::fromUtf8(c.expected));
}

} // namespace
