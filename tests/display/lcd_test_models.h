#pragma once

#include "meter/lcd_model.h"

#include <initializer_list>
#include <string_view>

// An LCD model with exactly these elements shown and these digit glyphs (D0, Da, Db, Dc, Dd; a
// space is a blank digit).
inline kx::meter::LcdModel lcdShowing(std::initializer_list<kx::meter::LcdElement> shown, std::string_view digits)
{
    kx::meter::LcdModel model;
    for (std::size_t i = 0; i < kx::meter::kLcdElementCount; ++i)
        model.hide(static_cast<kx::meter::LcdElement>(i));
    for (const kx::meter::LcdElement element : shown)
        model.show(element);
    for (std::size_t i = 0; i < kx::meter::kLcdDigitCount; ++i)
        model.setCaption(static_cast<kx::meter::LcdDigit>(i), i < digits.size() && digits[i] != ' ' ? digits[i] : 0);
    return model;
}
