#pragma once

#include <QColor>
#include <QWidget>

namespace kx::display {

// A flat panel in one colour with a raised outer bevel and, optionally, a lowered inner one: the
// frame of the LCD, the gauge and the limit panel. Each bevel is one pixel wide. An invalid colour
// takes the window's background.
class BevelPanel : public QWidget {
public:
    BevelPanel(QColor background, bool innerLowered, QWidget *parent = nullptr);

    // Pixels the bevels take from each side.
    int bevelWidth() const { return m_innerLowered ? 2 : 1; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_background;
    bool m_innerLowered;
};

} // namespace kx::display
