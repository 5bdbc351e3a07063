#pragma once

#include "display/lcd_glyphs.h"
#include "display/lcd_layout.h"

#include <QFont>
#include <QWidget>

namespace kx::display {

// One element of the on-screen LCD, drawn in black over the panel: a digit label, a point, or a
// fixed caption in the LCD font or in Liberation Sans.
class LcdElementView : public QWidget {
public:
    LcdElementView(const LcdElementRow &row, const LcdPlace &place, QWidget *parent);

    // A digit label's glyph; 0 leaves it blank.
    void setGlyph(char glyph);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSize sizeForCaption() const;

    const LcdElementRow &m_row;
    LcdFont m_lcdFont;
    QFont m_arialFont;
    char m_glyph = 0;
};

} // namespace kx::display
