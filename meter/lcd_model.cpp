#include "meter/lcd_model.h"

namespace kx::meter {

namespace {

constexpr std::array<std::string_view, kLcdElementCount> kNames{
    "LcdFH", "LcdD0", "LcdDa", "LcdDb", "LcdDc", "LcdDd", "LcdP0", "LcdP1", "LcdP2", "LcdP3",
    "LcdAuto", "LCDRS", "LCD232C", "LcdAC", "LcdDc1", "LCDJa", "LcdACDC", "LCDTRMST", "LCDTRMS", "LcdRPM",
    "LCDBF", "LCDRec", "LCDHold", "LCDBATT", "LCDFm", "LCDDI", "LCDCS", "LCDFS", "LCDHz", "LCDohm",
    "LCDk", "LCDM1", "LCDu", "LCDn", "Lcdm", "LCDA", "LcdV", "LCDF",
};

constexpr std::array<LcdElement, kLcdDigitCount> kDigitElements{
    LcdElement::LcdD0, LcdElement::LcdDa, LcdElement::LcdDb, LcdElement::LcdDc, LcdElement::LcdDd};

} // namespace

std::string_view lcdElementName(LcdElement element)
{
    return kNames[static_cast<std::size_t>(element)];
}

bool lcdElementInBuild(LcdElement element)
{
#if defined(KX52B_BUILD_40K)
    (void)element;
    return true;
#else
    return element != LcdElement::LcdD0 && element != LcdElement::LcdP0 && element != LcdElement::LCDJa;
#endif
}

LcdElement lcdDigitElement(LcdDigit digit)
{
    return kDigitElements[static_cast<std::size_t>(digit)];
}

LcdModel::LcdModel()
{
    show(LcdElement::LcdFH);
    for (LcdElement digit : kDigitElements)
        if (lcdElementInBuild(digit))
            show(digit);
    // The layout's captions: 3 9 9 9 9 on the five-digit LCD, 3 9 9 9 on the four-digit one.
#if defined(KX52B_BUILD_40K)
    glyphs_ = {'3', '9', '9', '9', '9'};
#else
    glyphs_ = {0, '3', '9', '9', '9'};
#endif
}

std::string_view LcdModel::caption(LcdDigit digit) const
{
    const char &g = glyphs_[static_cast<std::size_t>(digit)];
    return g ? std::string_view(&g, 1) : std::string_view();
}

} // namespace kx::meter
