#include "display/lcd_element_view.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kx::display {

LcdElementView::LcdElementView(const LcdElementSpec &spec, const LcdPlace &place, QWidget *parent)
    : QWidget(parent)
    , m_spec(spec)
    , m_lcdFont{qreal(place.fontHeight), spec.bold}
    , m_arialFont(QStringLiteral("Liberation Sans"))
{
    setObjectName(QString::fromLatin1(meter::lcdElementName(spec.element)));
    setAccessibleName(QString::fromLatin1(spec.accessibleName.data(), qsizetype(spec.accessibleName.size())));
    m_arialFont.setPixelSize(std::max(1, place.fontHeight));
    m_arialFont.setBold(spec.bold);
    setGeometry(QRect(place.topLeft, sizeForCaption()));
}

void LcdElementView::setGlyph(char glyph)
{
    m_glyph = glyph;
    update();
}

QSize LcdElementView::sizeForCaption() const
{
    switch (m_spec.kind) {
    case LcdElementKind::Digit:
        return kLcdDigitSize;
    case LcdElementKind::Point:
        return kLcdPointSize;
    case LcdElementKind::LcdText: {
        const int width = m_spec.fixedWidth ? m_spec.fixedWidth : int(std::ceil(lcdTextWidth(m_spec.caption, m_lcdFont)));
        return {width, int(std::ceil(lcdLineHeight(m_lcdFont)))};
    }
    case LcdElementKind::ArialText: {
        const QFontMetrics metrics(m_arialFont);
        const QString caption = QString::fromLatin1(m_spec.caption.data(), qsizetype(m_spec.caption.size()));
        return {metrics.horizontalAdvance(caption), metrics.height()};
    }
    }
    return {};
}

void LcdElementView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    switch (m_spec.kind) {
    case LcdElementKind::Digit:
        if (m_glyph)
            paintLcdText(painter, {0, 0}, std::string_view(&m_glyph, 1), m_lcdFont);
        break;
    case LcdElementKind::Point:
        painter.fillRect(rect(), Qt::black);
        break;
    case LcdElementKind::LcdText:
        paintLcdText(painter, {0, 0}, m_spec.caption, m_lcdFont);
        break;
    case LcdElementKind::ArialText:
        painter.setFont(m_arialFont);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromLatin1(m_spec.caption.data(), qsizetype(m_spec.caption.size())));
        break;
    }
}

} // namespace kx::display
