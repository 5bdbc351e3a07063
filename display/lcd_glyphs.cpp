#include "display/lcd_glyphs.h"

#include "display/lcd_letters.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace kx::display {

namespace {

// Proportions, in character heights.
constexpr qreal kLineHeight = 1.12;
constexpr qreal kLetterAdvance = 0.6;
constexpr qreal kLetterBearing = 0.06;
constexpr qreal kCapTop = 0.17;
constexpr qreal kGridUnit = 0.12;

// One glyph's room; positions inside it are in character heights from its top-left corner.
struct GlyphCell {
    QPointF origin;
    qreal h;
    qreal advance;
    bool bold;

    QPointF at(qreal x, qreal y) const { return origin + QPointF(x * h, y * h); }
    QRectF box(qreal x0, qreal y0, qreal x1, qreal y1) const { return {at(x0, y0), at(x1, y1)}; }
    qreal strokeWidth() const { return std::max(1.2, h * (bold ? 0.12 : 0.085)); }
};

void strokePen(QPainter &painter, const GlyphCell &cell)
{
    painter.setPen(QPen(Qt::black, cell.strokeWidth(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
}

void solidFill(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
}

// --- Seven-segment glyphs: the digits, the overload L and the minus sign.

enum Segment : std::uint8_t { SegA = 1, SegB = 2, SegC = 4, SegD = 8, SegE = 16, SegF = 32, SegG = 64 };
constexpr std::uint8_t kVerticals = SegB | SegC | SegE | SegF;

struct SegmentGlyph {
    char code;
    std::uint8_t segments;
};
constexpr SegmentGlyph kSegmentGlyphs[] = {
    {'0', SegA | SegB | SegC | SegD | SegE | SegF},
    {'1', SegB | SegC},
    {'2', SegA | SegB | SegG | SegE | SegD},
    {'3', SegA | SegB | SegG | SegC | SegD},
    {'4', SegF | SegG | SegB | SegC},
    {'5', SegA | SegF | SegG | SegC | SegD},
    {'6', SegA | SegF | SegG | SegE | SegC | SegD},
    {'7', SegA | SegB | SegC},
    {'8', SegA | SegB | SegC | SegD | SegE | SegF | SegG},
    {'9', SegA | SegB | SegC | SegD | SegF | SegG},
    {'@', SegD | SegE | SegF},
    {'-', SegG},
};

// A segment is a long hexagon between two tips on its centre line.
void drawSegment(QPainter &painter, QPointF from, QPointF to, qreal thickness)
{
    const qreal half = thickness / 2;
    const bool horizontal = from.y() == to.y();
    const QPointF along = horizontal ? QPointF(half, 0) : QPointF(0, half);
    const QPointF across = horizontal ? QPointF(0, half) : QPointF(half, 0);
    const QPointF hexagon[] = {from, from + along - across, to - along - across,
                               to,   to - along + across,   from + along + across};
    painter.drawPolygon(hexagon, 6);
}

void paintSevenSegment(QPainter &painter, const GlyphCell &cell, char code)
{
    const auto glyph = std::find_if(std::begin(kSegmentGlyphs), std::end(kSegmentGlyphs),
                                    [code](const SegmentGlyph &g) { return g.code == code; });
    const std::uint8_t on = glyph->segments;
    const qreal t = 0.075 * cell.h;
    const qreal gap = 0.01 * cell.h;
    // Bars alone (the minus sign) run across nearly the whole cell; otherwise they end on the
    // verticals.
    const bool bars = !(on & kVerticals);
    const qreal bearing = bars ? 0.015 : 0.04;
    const QPointF topLeft = cell.at(bearing, 0.16);
    const QPointF bottomRight = cell.at(cell.advance - bearing, 0.90);
    const qreal inset = bars ? 0 : t / 2;
    const qreal left = topLeft.x() + inset;
    const qreal right = bottomRight.x() - inset;
    const qreal top = topLeft.y() + t / 2;
    const qreal middle = (topLeft.y() + bottomRight.y()) / 2;
    const qreal bottom = bottomRight.y() - t / 2;

    struct Placed {
        Segment segment;
        QPointF from;
        QPointF to;
    };
    const Placed placed[] = {
        {SegA, {left + gap, top}, {right - gap, top}},
        {SegB, {right, top + gap}, {right, middle - gap}},
        {SegC, {right, middle + gap}, {right, bottom - gap}},
        {SegD, {left + gap, bottom}, {right - gap, bottom}},
        {SegE, {left, middle + gap}, {left, bottom - gap}},
        {SegF, {left, top + gap}, {left, middle - gap}},
        {SegG, {left + gap, middle}, {right - gap, middle}},
    };
    solidFill(painter);
    for (const Placed &segment : placed)
        if (on & segment.segment)
            drawSegment(painter, segment.from, segment.to, t);
}

// --- Unit symbols: micro, ohm, degrees Celsius and Fahrenheit.

void drawDegreeRing(QPainter &painter, const GlyphCell &cell)
{
    painter.drawEllipse(cell.box(0.08, 0.18, 0.24, 0.34));
}

void paintUnitSymbol(QPainter &painter, const GlyphCell &cell, char code)
{
    strokePen(painter, cell);
    switch (code) {
    case '+': {  // micro: a u with a tail below the line
        const QPointF tail[] = {cell.at(0.14, 1.01), cell.at(0.14, 0.41)};
        const QPointF bowl[] = {cell.at(0.14, 0.77), cell.at(0.24, 0.89), cell.at(0.40, 0.89),
                                cell.at(0.48, 0.80)};
        const QPointF stem[] = {cell.at(0.48, 0.41), cell.at(0.48, 0.89)};
        painter.drawPolyline(tail, 2);
        painter.drawPolyline(bowl, 4);
        painter.drawPolyline(stem, 2);
        break;
    }
    case '*': {  // ohm: a ring open at the bottom, standing on two feet
        painter.drawArc(cell.box(0.10, 0.20, 0.70, 0.80), -60 * 16, 300 * 16);
        const QPointF right[] = {cell.at(0.55, 0.76), cell.at(0.55, 0.89), cell.at(0.72, 0.89)};
        const QPointF left[] = {cell.at(0.25, 0.76), cell.at(0.25, 0.89), cell.at(0.08, 0.89)};
        painter.drawPolyline(right, 3);
        painter.drawPolyline(left, 3);
        break;
    }
    case '#':  // degrees Celsius
        drawDegreeRing(painter, cell);
        painter.drawArc(cell.box(0.32, 0.17, 0.78, 0.89), 45 * 16, 270 * 16);
        break;
    case '?': {  // degrees Fahrenheit
        drawDegreeRing(painter, cell);
        const QPointF f[] = {cell.at(0.72, 0.17), cell.at(0.36, 0.17), cell.at(0.36, 0.89)};
        painter.drawPolyline(f, 3);
        painter.drawLine(cell.at(0.36, 0.52), cell.at(0.64, 0.52));
        break;
    }
    }
}

// --- Annunciator symbols: HOLD, record, low battery, diode, beeper.

void paintAnnunciator(QPainter &painter, const GlyphCell &cell, char code)
{
    strokePen(painter, cell);
    switch (code) {
    case '"':  // HOLD: an H in a rounded frame
        painter.drawRoundedRect(cell.box(0.06, 0.20, 0.84, 0.86), 0.1 * cell.h, 0.1 * cell.h);
        painter.drawLine(cell.at(0.30, 0.34), cell.at(0.30, 0.72));
        painter.drawLine(cell.at(0.60, 0.34), cell.at(0.60, 0.72));
        painter.drawLine(cell.at(0.30, 0.53), cell.at(0.60, 0.53));
        break;
    case '!':  // record: a dot in a ring
        painter.drawEllipse(cell.box(0.09, 0.27, 0.61, 0.79));
        solidFill(painter);
        painter.drawEllipse(cell.box(0.22, 0.40, 0.48, 0.66));
        break;
    case '$':  // low battery: a cell with its knob and one bar left
        painter.drawRect(cell.box(0.04, 0.36, 0.50, 0.72));
        solidFill(painter);
        painter.drawRect(cell.box(0.50, 0.46, 0.57, 0.62));
        painter.drawRect(cell.box(0.10, 0.43, 0.19, 0.65));
        break;
    case ')': {  // diode: a triangle against a bar on a lead
        painter.drawLine(cell.at(0.04, 0.53), cell.at(0.86, 0.53));
        painter.drawLine(cell.at(0.58, 0.30), cell.at(0.58, 0.76));
        solidFill(painter);
        const QPointF triangle[] = {cell.at(0.22, 0.30), cell.at(0.22, 0.76), cell.at(0.56, 0.53)};
        painter.drawPolygon(triangle, 3);
        break;
    }
    case '&': {  // beeper: a loudspeaker with two sound waves
        painter.drawArc(cell.box(0.24, 0.41, 0.52, 0.65), -45 * 16, 90 * 16);
        painter.drawArc(cell.box(0.12, 0.27, 0.64, 0.79), -45 * 16, 90 * 16);
        solidFill(painter);
        const QPointF speaker[] = {cell.at(0.04, 0.44), cell.at(0.14, 0.44), cell.at(0.30, 0.30),
                                   cell.at(0.30, 0.76), cell.at(0.14, 0.62), cell.at(0.04, 0.62)};
        painter.drawPolygon(speaker, 6);
        break;
    }
    }
}

// --- Letters and "%", stroked on their grid.

void paintLetter(QPainter &painter, const GlyphCell &cell, char code)
{
    strokePen(painter, cell);
    QPointF points[16];
    int count = 0;
    const auto flush = [&] {
        if (count > 1)
            painter.drawPolyline(points, count);
        count = 0;
    };
    const std::string_view strokes = lcdLetterStrokes(code);
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const char c = strokes[i];
        if (c == '|') {
            flush();
        } else if (c != ' ' && i + 1 < strokes.size() && count < 16) {
            points[count++] = cell.at(kLetterBearing + (c - '0') * kGridUnit, kCapTop + (strokes[i + 1] - '0') * kGridUnit);
            ++i;
        }
    }
    flush();
}

// --- The font: each code with its room and the family that draws it.

using GlyphPainter = void (*)(QPainter &, const GlyphCell &, char);

struct Glyph {
    char code;
    qreal advance;
    GlyphPainter paint;
};

constexpr Glyph kSymbols[] = {
    {'0', 0.38, paintSevenSegment}, {'1', 0.38, paintSevenSegment}, {'2', 0.38, paintSevenSegment},
    {'3', 0.38, paintSevenSegment}, {'4', 0.38, paintSevenSegment}, {'5', 0.38, paintSevenSegment},
    {'6', 0.38, paintSevenSegment}, {'7', 0.38, paintSevenSegment}, {'8', 0.38, paintSevenSegment},
    {'9', 0.38, paintSevenSegment}, {'@', 0.38, paintSevenSegment}, {'-', 0.26, paintSevenSegment},
    {'+', 0.60, paintUnitSymbol},   {'*', 0.80, paintUnitSymbol},   {'#', 0.85, paintUnitSymbol},
    {'?', 0.85, paintUnitSymbol},   {'"', 0.90, paintAnnunciator},  {'!', 0.70, paintAnnunciator},
    {'$', 0.62, paintAnnunciator},  {')', 0.90, paintAnnunciator},  {'&', 0.78, paintAnnunciator},
};

// Letters all take the same room; a code without a glyph leaves that room blank.
constexpr Glyph kLetter{0, kLetterAdvance, paintLetter};

const Glyph &glyphOf(char code)
{
    const auto symbol = std::find_if(std::begin(kSymbols), std::end(kSymbols),
                                     [code](const Glyph &g) { return g.code == code; });
    return symbol != std::end(kSymbols) ? *symbol : kLetter;
}

} // namespace

qreal lcdLineHeight(LcdFont font)
{
    return kLineHeight * font.height;
}

qreal lcdTextWidth(std::string_view text, LcdFont font)
{
    qreal width = 0;
    for (const char code : text)
        width += glyphOf(code).advance * font.height;
    return width;
}

void paintLcdText(QPainter &painter, QPointF topLeft, std::string_view text, LcdFont font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPointF origin = topLeft;
    for (const char code : text) {
        const Glyph &glyph = glyphOf(code);
        glyph.paint(painter, GlyphCell{origin, font.height, glyph.advance, font.bold}, code);
        origin.rx() += glyph.advance * font.height;
    }
    painter.restore();
}

} // namespace kx::display
