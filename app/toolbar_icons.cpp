#include "app/toolbar_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace kx::app {

namespace {

// The style has no printer among its standard pictures: a small one drawn here.
QIcon printerIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);   // paper going in
    p.setBrush(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(1, 6, 13, 6);  // body
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 5);  // page coming out
    p.setPen(QColor(0x20, 0xA0, 0x20));
    p.drawPoint(12, 8);       // power light
    return QIcon(pixmap);
}

} // namespace

QIcon toolbarIcon(ToolbarIcon icon)
{
    QStyle *style = QApplication::style();
    switch (icon) {
    case ToolbarIcon::CloseData: return style->standardIcon(QStyle::SP_DialogDiscardButton);
    case ToolbarIcon::Open: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case ToolbarIcon::Save: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case ToolbarIcon::Print: return printerIcon();
    }
    return {};
}

} // namespace kx::app
