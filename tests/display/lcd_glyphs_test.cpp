#include "display/lcd_glyphs.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

QImage drawn(std::string_view text)
{
    const kx::display::LcdFont font{40, false};
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    kx::display::paintLcdText(painter, {0, 0}, text, font);
    return image;
}

// Every code of the LCD font's table, the letters its captions use and "%".
TEST(LcdGlyphs, EveryCodeDrawsAGlyphOfItsOwn)
{
    const std::string codes = "0123456789@-+*#?\"!$)&%ABCDEFGHIJKLMNOPQRSTUVWXYZkmnz";
    const QImage blank = drawn("");
    std::vector<QImage> images;
    for (const char code : codes) {
        images.push_back(drawn(std::string_view(&code, 1)));
        EXPECT_NE(images.back(), blank) << "'" << code << "' draws nothing";
    }
    for (std::size_t i = 0; i < codes.size(); ++i)
        for (std::size_t j = i + 1; j < codes.size(); ++j)
            EXPECT_NE(images[i], images[j]) << "'" << codes[i] << "' looks like '" << codes[j] << "'";
    // A code the font lacks keeps its room but shows nothing.
    EXPECT_EQ(drawn("~"), blank);
    EXPECT_GT(kx::display::lcdTextWidth("~", {40}), 0);
}

TEST(LcdGlyphs, DigitCellsMatchTheDigitLabels)
{
    EXPECT_DOUBLE_EQ(kx::display::lcdTextWidth("8", {100}), 38);
    EXPECT_DOUBLE_EQ(kx::display::lcdLineHeight({100}), 112);
}

} // namespace
