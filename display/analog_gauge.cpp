#include "display/analog_gauge.h"

#include "display/gauge_scale.h"
#include "display/link_icon.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace kx::display {

namespace {

constexpr QSize kOltextSize{113, 49};
constexpr QRect kLinkIconPlace{5, 5, 25, 24};
constexpr int kNeedleWidth = 2;
constexpr int kMarkPenWidth = 2;
constexpr int kDotPenWidth = 4;
const QColor kGaugeWhite(255, 255, 255);
const QColor kOltextGrey(128, 128, 128);

QColor colourOf(ScaleColour colour)
{
    static const QColor colours[] = {QColor(0, 0, 0), QColor(255, 0, 0), kGaugeWhite};
    return colours[static_cast<std::size_t>(colour)];
}

QPoint toQPoint(GaugePoint p)
{
    return {p.x, p.y};
}

// The 8-point system sans serif the scale's labels have always used.
QFont labelFont()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

// The ellipse of a mark or dot: the box from `at` to `at` + (2, 2), outlined with a pen so wide
// that it shows as a solid blob.
void drawBlob(QPainter &painter, GaugePoint at, const QColor &colour, int penWidth)
{
    painter.setPen(QPen(colour, penWidth));
    painter.setBrush(colour);
    painter.drawEllipse(QRect(at.x, at.y, 2, 2));
}

QRect lineBounds(const Needle &needle)
{
    return QRect(toQPoint(needle.tip), toQPoint(needle.base)).normalized().adjusted(-2, -2, 2, 2);
}

// `KD1`: the drawing surface, stretched over the image's own size.
class GaugeFace : public QWidget {
public:
    GaugeFace(const QImage &surface, QWidget *parent)
        : QWidget(parent)
        , m_surface(surface)
    {
        setObjectName(QStringLiteral("KD1"));
        setAccessibleName(QStringLiteral("Gauge scale"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QPainter painter(this);
        if (m_surface.isNull())
            painter.fillRect(event->rect(), kGaugeWhite);
        else if (m_surface.size() == size())
            painter.drawImage(event->rect().topLeft(), m_surface, event->rect());
        else
            painter.drawImage(rect(), m_surface);
    }

private:
    const QImage &m_surface;
};

} // namespace

AnalogGauge::AnalogGauge(std::function<GaugeInputs()> inputs, QWidget *parent)
    : BevelPanel(kGaugeWhite, true, parent)
    , m_inputs(std::move(inputs))
    , m_face(new GaugeFace(m_surface, this))
    , m_oltext(new QLabel(QStringLiteral("OL !!"), this))
    , m_conOk(new LinkIcon(true, this))
    , m_conOkN(new LinkIcon(false, this))
{
    setObjectName(QStringLiteral("KD"));
    setAccessibleName(QStringLiteral("Gauge"));

    m_conOk->setObjectName(QStringLiteral("CONok"));
    m_conOk->setAccessibleName(QStringLiteral("Meter link: frames arriving"));
    m_conOkN->setObjectName(QStringLiteral("CONokN"));
    m_conOkN->setAccessibleName(QStringLiteral("Meter link: no frames"));
    for (LinkIcon *icon : {m_conOk, m_conOkN})
        icon->setGeometry(kLinkIconPlace);
    showCONokN();

    m_oltext->setObjectName(QStringLiteral("oltext"));
    m_oltext->setAccessibleName(QStringLiteral("OL !!"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(35);
    m_oltext->setFont(font);
    m_oltext->setAlignment(Qt::AlignCenter);
    m_oltext->setAutoFillBackground(true);
    QPalette palette = m_oltext->palette();
    palette.setColor(QPalette::Window, kOltextGrey);
    palette.setColor(QPalette::WindowText, Qt::white);
    m_oltext->setPalette(palette);
    m_oltext->resize(kOltextSize);
    m_oltext->hide();

    placeChildren();
}

void AnalogGauge::KDsetup(std::int32_t)
{
    ensureSurface();
    const ScalePlan plan = planScale(GaugeGeometry(width(), height()), m_inputs());
    m_surface.fill(kGaugeWhite);
    QPainter painter(&m_surface);
    for (const ScaleMark &mark : plan.marks)
        drawBlob(painter, mark.at, colourOf(mark.colour), kMarkPenWidth);

    painter.setFont(labelFont());
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(kGaugeWhite);
    const int ascent = painter.fontMetrics().ascent();
    for (const ScaleLabel &label : plan.labels)
        painter.drawText(QPoint(label.topLeft.x, label.topLeft.y + ascent),
                         QString::fromLatin1(label.text.data(), qsizetype(label.text.size())));
    painter.setBackgroundMode(Qt::TransparentMode);

    for (const ScaleDot &dot : plan.dots)
        drawBlob(painter, dot.at, colourOf(dot.red ? ScaleColour::Red : ScaleColour::Black), kDotPenWidth);
    painter.end();
    m_face->update();
}

void AnalogGauge::KDrun(std::int32_t position)
{
    ensureSurface();
    const NeedlePlacement placement = placeNeedle(GaugeGeometry(width(), height()), m_inputs(), position);
    const QRect dirty = lineBounds(m_needle) | lineBounds(placement.needle);

    QPainter painter(&m_surface);
    painter.setPen(QPen(kGaugeWhite, kNeedleWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(toQPoint(m_needle.tip), toQPoint(m_needle.base));
    m_needle = placement.needle;
    painter.setPen(QPen(Qt::black, kNeedleWidth, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(toQPoint(m_needle.tip), toQPoint(m_needle.base));
    painter.end();

    // Unstretched, only the strip the two needles cover needs repainting.
    if (m_surface.size() == m_face->size())
        m_face->update(dirty & m_surface.rect());
    else
        m_face->update();

    if (placement.position != m_shownPlacement.position || placement.steps != m_shownPlacement.steps) {
        m_shownPlacement = placement;
        setAccessibleName(QStringLiteral("Needle at %1 of %2").arg(placement.position).arg(placement.steps));
    }
}

void AnalogGauge::setOltextVisible(bool visible)
{
    m_oltext->setVisible(visible);
}

void AnalogGauge::showCONok()
{
    m_conOk->show();
    m_conOkN->hide();
}

void AnalogGauge::showCONokN()
{
    m_conOkN->show();
    m_conOk->hide();
}

void AnalogGauge::resizeEvent(QResizeEvent *event)
{
    BevelPanel::resizeEvent(event);
    placeChildren();
}

// The window lays out the panel before the start-up draws the gauge, but a hidden panel gets its
// resize event only when first shown: size the image from the panel as it is now.
void AnalogGauge::ensureSurface()
{
    if (!m_surface.isNull())
        return;
    placeChildren();
    m_surface = QImage(m_face->size().expandedTo({1, 1}), QImage::Format_RGB32);
    m_surface.fill(kGaugeWhite);
}

void AnalogGauge::placeChildren()
{
    const int inset = bevelWidth();
    m_face->setGeometry(rect().adjusted(inset, inset, -inset, -inset));
    m_oltext->move((width() - kOltextSize.width()) / 2, (height() - kOltextSize.height()) / 2);
}

} // namespace kx::display
