#include "display/bevel_panel.h"

#include <QPainter>

namespace kx::display {

namespace {

const QColor kHighlight(255, 255, 255);
const QColor kShadow(160, 160, 160);

// Light along the top and left edges, dark along the bottom and right: raised; swapped: lowered.
void drawBevel(QPainter &painter, const QRect &r, const QColor &topLeft, const QColor &bottomRight)
{
    painter.setPen(topLeft);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

BevelPanel::BevelPanel(QColor background, bool innerLowered, QWidget *parent)
    : QWidget(parent)
    , m_background(background)
    , m_innerLowered(innerLowered)
{
}

void BevelPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background.isValid() ? m_background : palette().color(QPalette::Window));
    drawBevel(painter, rect(), kHighlight, kShadow);
    if (m_innerLowered)
        drawBevel(painter, rect().adjusted(1, 1, -1, -1), kShadow, kHighlight);
}

} // namespace kx::display
