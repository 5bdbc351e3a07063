#include "display/lcd_glyphs.h"
#include "display/lcd_panel.h"
#include "display/lcd_readout.h"

#include "lcd_test_models.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using E = kx::meter::LcdElement;
using kx::display::LcdBuild;
using kx::display::LcdPanel;

const QColor kLcdBackground(0xE8, 0xE8, 0xE8);

QImage picture(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A digit label as it must look: the glyph alone on the LCD's grey.
QImage digitLabel(char glyph)
{
    QImage image(kx::display::kLcdDigitSize, QImage::Format_RGB32);
    image.fill(kLcdBackground);
    QPainter painter(&image);
    if (glyph)
        kx::display::paintLcdText(painter, {0, 0}, std::string_view(&glyph, 1), {100});
    return image;
}

// What a panel shows of a digit label, beside what the label alone must look like. The labels
// reach below the panel's bevel; only the part inside it is compared.
struct LabelPictures {
    QImage shown;
    QImage expected;
};
LabelPictures digitPictures(LcdPanel &panel, const QImage &panelPicture, const char *name, char glyph)
{
    const QRect label = panel.findChild<QWidget *>(name)->geometry();
    const QRect inside = label & panel.rect().adjusted(2, 2, -2, -2);
    return {panelPicture.copy(inside), digitLabel(glyph).copy(inside.translated(-label.topLeft()))};
}

TEST(LcdPanel, EachBuildHasItsOwnElementsAndPlaces)
{
    struct Case {
        LcdBuild build;
        const char *element;
        QRect geometry;  // null: absent from the build
    };
    const Case cases[] = {
        {LcdBuild::FiveDigit, "LcdD0", {40, 20, 38, 112}}, {LcdBuild::FiveDigit, "LcdP0", {78, 105, 7, 8}},
        {LcdBuild::FiveDigit, "LcdDa", {88, 20, 38, 112}}, {LcdBuild::FiveDigit, "LcdDd", {232, 20, 38, 112}},
        {LcdBuild::FiveDigit, "LCDFm", {296, 31, 25, 36}}, {LcdBuild::FourDigit, "LcdD0", {}},
        {LcdBuild::FourDigit, "LcdP0", {}},                {LcdBuild::FourDigit, "LCDJa", {}},
        {LcdBuild::FourDigit, "LcdDa", {40, 20, 38, 112}}, {LcdBuild::FourDigit, "LcdP3", {176, 105, 7, 8}},
        {LcdBuild::FourDigit, "LCDHold", {160, -2, 32, 40}},
    };
    for (const Case &c : cases) {
        LcdPanel panel(c.build);
        const auto *view = panel.findChild<QWidget *>(c.element);
        if (c.geometry.isNull()) {
            EXPECT_FALSE(view) << c.element;
            continue;
        }
        ASSERT_TRUE(view) << c.element;
        EXPECT_EQ(view->geometry(), c.geometry) << c.element;
    }
    EXPECT_EQ(LcdPanel(LcdBuild::FiveDigit).size(), QSize(334, 129));
    EXPECT_EQ(LcdPanel(LcdBuild::FourDigit).size(), QSize(285, 129));
    EXPECT_EQ(LcdPanel(LcdBuild::FiveDigit).findChildren<QWidget *>().size(), 38);
    EXPECT_EQ(LcdPanel(LcdBuild::FourDigit).findChildren<QWidget *>().size(), 35);
}

TEST(LcdPanel, OpensWithTheSignAndTheLayoutsDigitsOnly)
{
    LcdPanel panel(LcdBuild::FiveDigit);
    QStringList shown;
    for (const QWidget *view : panel.findChildren<QWidget *>())
        if (!view->isHidden())
            shown << view->objectName();
    EXPECT_EQ(shown, QStringList({"LcdFH", "LcdD0", "LcdDa", "LcdDb", "LcdDc", "LcdDd"}));
    EXPECT_EQ(panel.accessibleName(), "-39999");
}

TEST(LcdPanel, ShowsTheModelsDigitsInTheirLabels)
{
    LcdPanel panel(LcdBuild::FourDigit);
    panel.render(lcdShowing({E::LcdDa, E::LcdDb, E::LcdP2, E::LcdDc, E::LcdDd}, " 12@5"));
    const QImage shown = picture(panel);
    struct Digit {
        const char *name;
        char glyph;
    };
    for (const Digit d : {Digit{"LcdDa", '1'}, Digit{"LcdDb", '2'}, Digit{"LcdDc", '@'}, Digit{"LcdDd", '5'}}) {
        const LabelPictures pictures = digitPictures(panel, shown, d.name, d.glyph);
        EXPECT_TRUE(pictures.shown == pictures.expected) << d.name;
    }
    // The control: another digit looks different.
    const LabelPictures five = digitPictures(panel, shown, "LcdDd", '6');
    EXPECT_FALSE(five.shown == five.expected);

    // A digit whose glyph is unknown turns blank, not stale.
    panel.render(lcdShowing({E::LcdDa, E::LcdDb, E::LcdP2, E::LcdDc, E::LcdDd}, " 12@ "));
    const LabelPictures blank = digitPictures(panel, picture(panel), "LcdDd", 0);
    EXPECT_TRUE(blank.shown == blank.expected);
}

TEST(LcdPanel, ShowsAndHidesElementsAndReadsOutTheReading)
{
    LcdPanel panel(LcdBuild::FiveDigit);
    const auto model = lcdShowing({E::LcdDb, E::LcdP2, E::LcdDc, E::LcdDd, E::LCDk, E::LCDohm, E::LcdAuto}, "  123");
    panel.render(model);
    EXPECT_TRUE(panel.findChild<QWidget *>("LcdFH")->isHidden());
    EXPECT_TRUE(panel.findChild<QWidget *>("LcdD0")->isHidden());
    EXPECT_FALSE(panel.findChild<QWidget *>("LcdP2")->isHidden());
    EXPECT_FALSE(panel.findChild<QWidget *>("LCDohm")->isHidden());
    EXPECT_EQ(panel.accessibleName(), "1.23 kΩ AUTO");
    EXPECT_EQ(panel.accessibleName(), kx::display::lcdReadout(model, LcdBuild::FiveDigit));

    // The point is a solid black square.
    const QImage shown = picture(panel);
    const QRect point = panel.findChild<QWidget *>("LcdP2")->geometry();
    for (int y = point.top(); y <= point.bottom(); ++y)
        for (int x = point.left(); x <= point.right(); ++x)
            ASSERT_EQ(shown.pixel(x, y), qRgb(0, 0, 0));
}

} // namespace
