#include "display/link_icon.h"

#include <QPainter>

namespace kx::display {

namespace {

const QColor kCasing(96, 96, 96);
const QColor kMeterBody(230, 170, 30);
const QColor kScreenLit(255, 255, 255);
const QColor kScreenDark(24, 32, 56);

} // namespace

LinkIcon::LinkIcon(bool screensLit, QWidget *parent)
    : QWidget(parent)
    , m_screensLit(screensLit)
{
    resize(sizeHint());
}

void LinkIcon::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor screen = m_screensLit ? kScreenLit : kScreenDark;

    // The computer: a monitor on a stand.
    painter.fillRect(1, 3, 14, 11, kCasing);
    painter.fillRect(3, 5, 10, 7, screen);
    painter.fillRect(7, 14, 2, 3, kCasing);
    painter.fillRect(4, 17, 8, 2, kCasing);

    // The cable from the computer to the meter.
    painter.setPen(QPen(kCasing, 1));
    painter.drawLine(12, 19, 17, 19);

    // The meter: its body, its display and its dial.
    painter.fillRect(17, 3, 7, 19, kMeterBody);
    painter.fillRect(18, 5, 5, 4, screen);
    painter.setPen(QPen(kCasing, 1));
    painter.setBrush(kCasing);
    painter.drawEllipse(19, 12, 3, 3);
    painter.drawPoint(19, 19);
    painter.drawPoint(22, 19);
}

} // namespace kx::display
