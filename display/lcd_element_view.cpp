#include "display/lcd_element_view.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kx::display {

LcdElementView::LcdElementView(const LcdElementRow &row, const LcdPlace &place, QWidget *parent)
    : QWidget(parent)
    , m_row(row)
    , m_lcdFont{qreal(place.fontHeight), row.bold}
    , m_arialFont(QStringLiteral("Liberation Sans"))
{
    setObjectName(QString::fromLatin1(meter::lcdElementName(row.element)));
    setAccessibleName(QString::fromLatin1(row.accessibleName.data(), qsizetype(row.accessibleName.size())));
    m_arialFont.setPixelSize(std::max(1, place.fontHeight));
    m_arialFont.setBold(row.bold);
    setGeometry(QRect(place.topLeft, sizeForCaption()));
}

void LcdElementView::setGlyph(char glyph)
{
    m_glyph = glyph;
    update();
}

QSize LcdElementView::sizeForCaption() const
{
    switch (m_row.kind) {
    case LcdElementKind::Digit:
        return kLcdDigitSize;
    case LcdElementKind::Point:
        return kLcdPointSize;
    case LcdElementKind::LcdText: {
        const int width = m_row.fixedWidth ? m_row.fixedWidth : int(std::ceil(lcdTextWidth(m_row.caption, m_lcdFont)));
        return {width, int(std::ceil(lcdLineHeight(m_lcdFont)))};
    }
    case LcdElementKind::ArialText: {
        const QFontMetrics metrics(m_arialFont);
        const QString caption = QString::fromLatin1(m_row.caption.data(), qsizetype(m_row.caption.size()));
        return {metrics.horizontalAdvance(caption), metrics.height()};
    }
    }
    return {};
}

void LcdElementView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    switch (m_row.kind) {
    case LcdElementKind::Digit:
        if (m_glyph)
            paintLcdText(painter, {0, 0}, std::string_view(&m_glyph, 1), m_lcdFont);
        break;
    case LcdElementKind::Point:
        painter.fillRect(rect(), Qt::black);
        break;
    case LcdElementKind::LcdText:
        paintLcdText(painter, {0, 0}, m_row.caption, m_lcdFont);
        break;
    case LcdElementKind::ArialText:
        painter.setFont(m_arialFont);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromLatin1(m_row.caption.data(), qsizetype(m_row.caption.size())));
        break;
    }
}

} // namespace kx::display
