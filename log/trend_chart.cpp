#include "log/trend_chart.h"

#include "log/chart_decimation.h"

#include <QAction>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDir>
#include <QImageWriter>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QToolButton>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kx::log {

namespace {

// Colour values as the window description gives them: blue, green, red from the high byte down.
QColor bgr(unsigned value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

const QColor kAreaFill = bgr(8454143);       // pale yellow
const QColor kAreaLines = bgr(16744448);     // azure
const QColor kLinePen = bgr(65408);          // light green
const QColor kValueAxisLine = bgr(8404992);  // dark blue
const QColor kPanel = bgr(16309696);         // light blue
const QColor kTitle = bgr(16711680);         // blue

// Before the first layout the plot area is unknown; decimate as if it were this wide.
constexpr int kFallbackPlotWidth = 640;

// The layout's own range; start-up sets the build's full scale.
constexpr double kLayoutValueRange = 41000;

// About this many labels along the bottom axis, on round numbers as the automatic axis would.
constexpr double kBottomLabels = 5;

double roundTickInterval(double span)
{
    const double raw = std::max(span / kBottomLabels, 1.0);
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double step : {1.0, 2.0, 5.0})
        if (raw <= step * decade)
            return step * decade;
    return 10 * decade;
}

} // namespace

TrendChart::TrendChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Chtshow"));
    m_dataRefresh.setSingleShot(true);
    m_dataRefresh.setInterval(kDataRefreshMilliseconds);
    connect(&m_dataRefresh, &QTimer::timeout, this, &TrendChart::refresh);
    buildChart();
    m_bar = buildTrendChartToolbar(this);
    buildGraphicMenu();
    connectToolbar();
    refresh();
}

TrendChart::~TrendChart()
{
    // The chart's axes and plot signal this object; they go first, while it is still whole.
    delete m_view;
}

void TrendChart::buildChart()
{
    m_chart = new QChart;
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->legend()->hide();
    m_chart->setTitle(QStringLiteral("  "));
    m_chart->setTitleFont(QFont(QStringLiteral("Arial"), 10));
    m_chart->setTitleBrush(kTitle);
    m_chart->setBackgroundRoundness(0);
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(Qt::lightGray));
    gradient.setColorAt(1, QColor(Qt::white));
    m_chart->setBackgroundBrush(gradient);
    m_chart->setPlotAreaBackgroundBrush(QColor(Qt::white));
    m_chart->setPlotAreaBackgroundVisible(true);

    m_axisX = new QValueAxis;
    m_axisX->setLabelFormat(QStringLiteral("%d"));
    m_axisX->setTickType(QValueAxis::TicksDynamic);
    m_axisX->setTickAnchor(0);
    m_axisY = new QValueAxis;
    m_axisY->setLabelFormat(QStringLiteral("%d"));
    m_axisY->setMinorTickCount(4);
    QPen axisPen(kValueAxisLine, 1, Qt::DashLine);
    m_axisY->setLinePen(axisPen);
    setChartLeftAxis(-kLayoutValueRange, kLayoutValueRange);
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);

    m_areaUpper = new QLineSeries(this);
    m_series2 = new QAreaSeries(m_areaUpper);
    m_series2->setName(QStringLiteral("Series2"));
    m_series2->setBrush(kAreaFill);
    m_series2->setPen(QPen(kAreaLines, 1));
    m_series1 = new QLineSeries;
    m_series1->setName(QStringLiteral("Series1"));
    m_series1->setPen(QPen(kLinePen, 1));
    for (QAbstractSeries *series : {static_cast<QAbstractSeries *>(m_series2),
                                    static_cast<QAbstractSeries *>(m_series1)}) {
        m_chart->addSeries(series);
        series->attachAxis(m_axisX);
        series->attachAxis(m_axisY);
    }

    m_view = new QChartView(m_chart, this);
    m_view->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_view->setLineWidth(1);
    m_view->setBackgroundBrush(kPanel);
    m_view->setRubberBand(QChartView::RectangleRubberBand);
    m_view->viewport()->setCursor(Qt::CrossCursor);

    // A zoom changes what is visible, and a page of many points is cut to the plot's width.
    connect(m_axisX, &QValueAxis::rangeChanged, this, &TrendChart::bottomAxisChanged);
    connect(m_chart, &QChart::plotAreaChanged, this, &TrendChart::scheduleRefresh);
}

void TrendChart::buildGraphicMenu()
{
    m_graphic = new QMenu(QStringLiteral("Graphic"), this);
    m_graphic->setObjectName(QStringLiteral("Graphic"));
    m_graphic->addAction(QStringLiteral("First"), this, &TrendChart::BtFirstClick);
    m_graphic->addAction(QStringLiteral("Previous"), this, &TrendChart::BTPreviousClick);
    m_graphic->addAction(QStringLiteral("Next"), this, &TrendChart::BtNextClick);
    m_graphic->addAction(QStringLiteral("Last"), this, &TrendChart::BTlastClick);
    m_graphic->addSeparator();
    m_graphic->addAction(QStringLiteral("New"), this, &TrendChart::BtNewClick);
    m_graphic->addAction(QStringLiteral("Save"), this, &TrendChart::BtSaveClick);
    m_graphic->addSeparator();
    m_fill = m_graphic->addAction(QStringLiteral("Fill"), this, &TrendChart::FillClick);
    m_fill->setObjectName(QStringLiteral("Fill"));
    m_fill->setCheckable(true);
    m_fill->setChecked(true);
}

void TrendChart::connectToolbar()
{
    // Toggled rather than clicked: a state set from code counts as a click, so the check box and
    // the menu item always agree.
    connect(m_bar.btFill, &QCheckBox::toggled, this, &TrendChart::btFillClick);
    connect(m_bar.maxrecord, &QLineEdit::textChanged, this, &TrendChart::MaxrecordExit);
    connect(m_bar.btNew, &QToolButton::clicked, this, &TrendChart::BtNewClick);
    connect(m_bar.btSave, &QToolButton::clicked, this, &TrendChart::BtSaveClick);
    connect(m_bar.btFirst, &QToolButton::clicked, this, &TrendChart::BtFirstClick);
    connect(m_bar.btPrevious, &QToolButton::clicked, this, &TrendChart::BTPreviousClick);
    connect(m_bar.btNext, &QToolButton::clicked, this, &TrendChart::BtNextClick);
    connect(m_bar.btLast, &QToolButton::clicked, this, &TrendChart::BTlastClick);
    connect(m_bar.tbFd, &QToolButton::clicked, this, &TrendChart::TbFdClick);
    connect(m_bar.tbSx, &QToolButton::clicked, this, &TrendChart::TbFdClick);
}

void TrendChart::Series1Add(double value)
{
    m_paging.add(ChartSeries::Line, static_cast<float>(value));
    scheduleDataRefresh();
}

void TrendChart::Series2Add(double value)
{
    m_paging.add(ChartSeries::Area, static_cast<float>(value));
    scheduleDataRefresh();
}

std::int32_t TrendChart::chartPageCount() const
{
    return static_cast<std::int32_t>(std::min<std::int64_t>(m_paging.pageCount(), INT32_MAX));
}

void TrendChart::setChartPage(std::int32_t page)
{
    m_paging.setPage(page);
    scheduleDataRefresh();
}

void TrendChart::setBt10Caption(const QString &caption)
{
    m_paging.setCaption(caption.toStdString());
    m_bar.bt10->setText(caption);
}

void TrendChart::BtNewClick()
{
    m_paging.reset();
    ShowSeries(static_cast<int>(ChartSeries::Area));
    ShowSeries(static_cast<int>(BtFillChecked() ? ChartSeries::Area : ChartSeries::Line));
}

void TrendChart::ShowSeries(int which)
{
    m_paging.showSeries(which);
    scheduleRefresh();
}

void TrendChart::setChartLeftAxis(double minimum, double maximum)
{
    m_valueMinimum = minimum;
    m_valueMaximum = maximum;
    m_axisY->setRange(minimum, maximum);
}

bool TrendChart::BtFillChecked() const
{
    return m_bar.btFill->isChecked();
}

void TrendChart::BtFirstClick()
{
    m_paging.first();
    navigated();
}

void TrendChart::BTPreviousClick()
{
    m_paging.previous();
    navigated();
}

void TrendChart::BtNextClick()
{
    m_paging.next();
    navigated();
}

void TrendChart::BTlastClick()
{
    m_paging.last();
    navigated();
}

void TrendChart::navigated()
{
    const NavigationEnabled enabled = m_paging.enabled();
    m_bar.btFirst->setEnabled(enabled.first);
    m_bar.btPrevious->setEnabled(enabled.previous);
    m_bar.btNext->setEnabled(enabled.next);
    m_bar.btLast->setEnabled(enabled.last);
    m_bar.bt10->setText(QString::fromStdString(m_paging.caption()));
    // Navigating lays the page out anew, even when it stays the same page.
    m_shownSpan = PageSpan{-1, -1, 0, 0};
    scheduleRefresh();
    emit chartLiveChanged(m_paging.live());
}

void TrendChart::btFillClick(bool checked)
{
    m_fill->setChecked(checked);
    ShowSeries(static_cast<int>(checked ? ChartSeries::Area : ChartSeries::Line));
}

void TrendChart::FillClick()
{
    // The menu item has toggled itself already; the check box's state decides.
    const bool fill = !m_bar.btFill->isChecked();
    m_fill->setChecked(fill);
    m_bar.btFill->setChecked(fill);
    ShowSeries(static_cast<int>(fill ? ChartSeries::Area : ChartSeries::Line));
}

void TrendChart::MaxrecordExit(const QString &text)
{
    if (const auto failure = m_paging.setPointsPerPageText(text.toStdString())) {
        m_messages->error(QString::fromStdString(*failure));
        return;
    }
    scheduleRefresh();
}

QString TrendChart::picturePath()
{
    return QDir::current().absoluteFilePath(QStringLiteral("databmp.bmp"));
}

QImage TrendChart::picture()
{
    if (m_refreshPending || m_dataRefresh.isActive())
        refresh();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    m_view->render(&painter);
    return image;
}

void TrendChart::BtSaveClick()
{
    // Written first and announced after, so the message never claims a file that is not there.
    const QString path = picturePath();
    QSaveFile file(path);
    QImageWriter writer(&file, "bmp");
    QString failure;
    if (!file.open(QIODevice::WriteOnly))
        failure = file.errorString();
    else if (!writer.write(picture()))
        failure = writer.errorString();
    else if (!file.commit())
        failure = file.errorString();
    if (!failure.isEmpty()) {
        m_messages->error(QStringLiteral("graphic could not be saved on %1: %2").arg(path, failure));
        return;
    }
    m_messages->information(QStringLiteral("graphic has saved on %1").arg(path));
}

void TrendChart::TbFdClick()
{
    const QSize windowSize = m_windowOuterSize.isValid() ? m_windowOuterSize : window()->size();
    if (y() > 50) {
        m_bar.tbFd->hide();
        m_bar.tbSx->show();
        m_savedChartBounds = geometry();
        setGeometry(2, 28, windowSize.width() - 12, windowSize.height() - 85);
        raise();
    } else if (m_savedChartBounds.isValid()) {
        // Nothing saved yet means the chart was never enlarged: keep it rather than shrink it to
        // nothing.
        m_bar.tbSx->hide();
        m_bar.tbFd->show();
        setGeometry(m_savedChartBounds);
    }
}

void TrendChart::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_view->setGeometry(rect());
}

void TrendChart::scheduleRefresh()
{
    if (m_refreshing || m_refreshPending)
        return;
    // Readings arrive in bursts; the page is rebuilt once, when the window is next idle.
    m_refreshPending = true;
    QMetaObject::invokeMethod(this, &TrendChart::refresh, Qt::QueuedConnection);
}

void TrendChart::scheduleDataRefresh()
{
    // A meter on a fast line sends some 170 readings a second; drawing the page five times a
    // second reads as live and spares most of the drawing.
    if (!m_refreshPending && !m_dataRefresh.isActive())
        m_dataRefresh.start();
}

void TrendChart::bottomAxisChanged()
{
    // The chart itself sets the axis only while refreshing; any other change is the user's zoom.
    if (!m_refreshing)
        m_zoomed = true;
    scheduleRefresh();
}

void TrendChart::setBottomAxisRange(double minimum, double maximum)
{
    // The axis lays out its ticks at every change: a small interval over a wide range, even for a
    // moment, would create a label for every point.
    const double interval = roundTickInterval(maximum - minimum);
    if (interval > m_axisX->tickInterval()) {
        m_axisX->setTickInterval(interval);
        m_axisX->setRange(minimum, maximum);
    } else {
        m_axisX->setRange(minimum, maximum);
        m_axisX->setTickInterval(interval);
    }
}

QList<QPointF> TrendChart::visiblePoints(const PageSpan &span)
{
    // Only the points inside the visible x range (and one beyond each edge, so the line reaches
    // the border) are handed over, cut to the plot's width.
    const double low = m_axisX->min();
    const double high = m_axisX->max();
    if (m_axisX->tickInterval() != roundTickInterval(high - low))
        setBottomAxisRange(low, high);
    const auto pageEnd = double(span.firstPoint + span.pointCount);
    const auto from = std::size_t(std::clamp(std::floor(low) - 1, double(span.firstPoint), pageEnd));
    const auto to = std::size_t(std::clamp(std::ceil(high) + 2, double(from), pageEnd));
    const double plotWidth =
        m_chart->plotArea().width() >= 1 ? m_chart->plotArea().width() : kFallbackPlotWidth;
    const int columns = int(std::ceil(plotWidth * double(to - from) / std::max(high - low, 1.0)));

    const int active = m_paging.activeSeries();
    if (active != int(ChartSeries::Area) && active != int(ChartSeries::Line))
        return {};
    const std::vector<ChartPoint> points = decimateForColumns(
        m_paging.points(ChartSeries(active)), from, to, std::max(columns, 1));
    QList<QPointF> list;
    list.reserve(qsizetype(points.size()));
    for (const ChartPoint &point : points)
        list.append(QPointF(point.x, point.y));
    return list;
}

void TrendChart::refresh()
{
    m_refreshPending = false;
    m_dataRefresh.stop();
    const QScopedValueRollback guard(m_refreshing, true);
    const PageSpan span = m_paging.pageSpan();
    // A new page undoes any zoom; new points on the same page keep it, also when all points are
    // on one page that grows with them.
    const bool grown = m_paging.pointsPerPage() <= 0 && span.firstX == m_shownSpan.firstX &&
                       span.lastX > m_shownSpan.lastX;
    if ((span.firstX != m_shownSpan.firstX || span.lastX != m_shownSpan.lastX) &&
        !(m_zoomed && grown)) {
        setBottomAxisRange(double(span.firstX), double(std::max(span.lastX, span.firstX + 1)));
        m_axisY->setRange(m_valueMinimum, m_valueMaximum);
        m_zoomed = false;
    }
    m_shownSpan = span;

    const QList<QPointF> points = visiblePoints(span);
    // Only the active series is handed points; the other is hidden and empty.
    const bool area = m_paging.activeSeries() == int(ChartSeries::Area);
    const bool line = m_paging.activeSeries() == int(ChartSeries::Line);
    m_areaUpper->replace(area ? points : QList<QPointF>());
    m_series1->replace(line ? points : QList<QPointF>());
    m_series2->setVisible(area);
    m_series1->setVisible(line);
}

} // namespace kx::log
