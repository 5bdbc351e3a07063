#include "tests/e2e/window_watch.h"

#include "display/analog_gauge.h"
#include "display/gauge_geometry.h"
#include "display/lcd_layout.h"
#include "display/lcd_readout.h"
#include "display/unit_glyphs.h"
#include "log/log_grid.h"
#include "log/log_table.h"
#include "log/trend_chart.h"
#include "meter/profile.h"
#include "tests/meter/meter_rig.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <utility>

namespace kx::e2e {

namespace {

constexpr int kMismatchesKept = 12;

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QString yes(bool value) { return value ? QStringLiteral("yes") : QStringLiteral("no"); }

// The LCD the reference describes.
meter::LcdModel lcdOf(const Expected &e)
{
    meter::LcdModel lcd;
    for (std::size_t i = 0; i < meter::kLcdElementCount; ++i) {
        const auto element = static_cast<meter::LcdElement>(i);
        lcd.show(element, e.shown.contains(qs(meter::lcdElementName(element))));
    }
    for (std::size_t d = 0; d < meter::kLcdDigitCount; ++d) {
        const auto digit = static_cast<meter::LcdDigit>(d);
        const auto caption = e.captions.find(qs(meter::lcdElementName(meter::lcdDigitElement(digit))));
        if (caption != e.captions.end())
            lcd.setCaption(digit, caption->second.isEmpty() ? '\0' : caption->second.at(0).toLatin1());
    }
    return lcd;
}

QString captionsOf(const meter::LcdModel &lcd)
{
    QStringList captions;
    for (std::size_t d = 0; d < meter::kLcdDigitCount; ++d) {
        const auto digit = static_cast<meter::LcdDigit>(d);
        if (meter::lcdElementInBuild(meter::lcdDigitElement(digit)))
            captions.append(qs(lcd.caption(digit)));
    }
    return captions.join(u'|');
}

QString shownOf(const meter::LcdModel &lcd)
{
    QStringList names;
    for (const std::string &name : meter::test::shownNames(lcd))
        names.append(qs(name));
    return names.join(u' ');
}

// The live chart turned to its last page after the line series got its point and before the area
// series, which is the one counted, got its own.
std::int64_t livePage(std::size_t linePoints, int perPage)
{
    const auto counted = static_cast<std::int64_t>(linePoints) - 1;
    return std::max<std::int64_t>(1, (counted + perPage - 1) / perPage);
}

} // namespace

WindowWatch::WindowWatch(app::TFCOMM &window, const std::vector<Expected> &expected, const int &beeps)
    : m_window(window)
    , m_expected(expected)
    , m_beeps(beeps)
    , m_MaxText(window.findChild<QLabel *>(QStringLiteral("MaxText")))
    , m_MinText(window.findChild<QLabel *>(QStringLiteral("MinText")))
    , m_MaxTextU(window.findChild<QLabel *>(QStringLiteral("MaxTextU")))
    , m_MinTextU(window.findChild<QLabel *>(QStringLiteral("MinTextU")))
    , m_oltext(window.findChild<QWidget *>(QStringLiteral("oltext")))
    , m_Panel1(window.findChild<QWidget *>(QStringLiteral("Panel1")))
    , m_PBar2(window.findChild<QProgressBar *>(QStringLiteral("PBar2")))
    , m_Bt10(window.findChild<QAbstractButton *>(QStringLiteral("Bt10")))
    , m_KD(window.findChild<display::AnalogGauge *>(QStringLiteral("KD")))
    , m_DBGrid1(window.findChild<log::LogGrid *>(QStringLiteral("DBGrid1")))
    , m_Chtshow(window.findChild<log::TrendChart *>(QStringLiteral("Chtshow")))
{
    m_records = QObject::connect(&window.T38BDB(), &log::LogTable::recordAppended, &window.T38BDB(),
                                 [this](std::int64_t, const log::LogRecord &record) { onRecord(record); });
}

WindowWatch::~WindowWatch() { QObject::disconnect(m_records); }

void WindowWatch::differs(const QString &what, const QString &actual, const QString &expected)
{
    if (actual == expected)
        return;
    if (++m_mismatchCount > kMismatchesKept)
        return;
    const QString frame = m_next < m_expected.size() ? m_expected[m_next].frame : QStringLiteral("(end)");
    m_mismatches.append(QStringLiteral("frame %1 %2: %3 is \"%4\", expected \"%5\"")
                            .arg(m_next)
                            .arg(frame, what, actual, expected));
}

void WindowWatch::onRecord(const log::LogRecord &record)
{
    if (m_next >= m_expected.size()) {
        differs(QStringLiteral("records"), QString::number(m_next + 1), QString::number(m_expected.size()));
        ++m_next;
        return;
    }
    const Expected &e = m_expected[m_next];
    const meter::ReadingState &state = m_window.meter().state;

    differs(QStringLiteral("No"), QString::number(record.no), QString::number(m_next + 1));
    differs(QStringLiteral("Value"), record.value, e.DisplayText);
    differs(QStringLiteral("Nval"), QString::number(record.nval), QString::number(e.ReadingValue));
    differs(QStringLiteral("DC/AC"), record.coupling, e.CouplingText);
    differs(QStringLiteral("Unit"), record.unit, e.UnitText);
    differs(QStringLiteral("AUTO"), record.rangeMode, e.RangeModeText);

    const meter::LcdModel expectedLcd = lcdOf(e);
    differs(QStringLiteral("LCD digits"), captionsOf(m_window.meter().lcd), captionsOf(expectedLcd));
    differs(QStringLiteral("LCD signs"), shownOf(m_window.meter().lcd), shownOf(expectedLcd));

    differs(QStringLiteral("MaxText"), m_MaxText->text(), e.MaxText);
    differs(QStringLiteral("MinText"), m_MinText->text(), e.MinText);
    differs(QStringLiteral("MaxTextU"), m_MaxTextU->text(), display::unitGlyphs(e.MaxTextU));
    differs(QStringLiteral("MinTextU"), m_MinTextU->text(), display::unitGlyphs(e.MinTextU));

    differs(QStringLiteral("\"OL !!\" shown"), yes(m_oltext->isVisible()), yes(e.alarm));
    differs(QStringLiteral("beeps"), QString::number(m_beeps - std::exchange(m_beepsBefore, m_beeps)),
            QString::number(e.alarm ? 1 : 0));

    if (e.gauge) {
        const display::GaugeInputs inputs = display::gaugeInputs(
            state, meter::evaluateProfile(meter::buildProfileFlags()).range, m_window.SetMaxBChecked(),
            m_window.SetMinBChecked());
        const display::NeedlePlacement placement =
            display::placeNeedle(display::GaugeGeometry(m_KD->width(), m_KD->height()), inputs, *e.gauge);
        differs(QStringLiteral("gauge"), m_KD->accessibleName(),
                QStringLiteral("Needle at %1 of %2").arg(placement.position).arg(placement.steps));
        differs(QStringLiteral("needle tip"), QStringLiteral("%1,%2").arg(m_KD->NeedleTip().x).arg(m_KD->NeedleTip().y),
                QStringLiteral("%1,%2").arg(placement.needle.tip.x).arg(placement.needle.tip.y));
    }
    differs(QStringLiteral("chart axis"),
            QStringLiteral("%1..%2").arg(m_Chtshow->valueAxisMinimum()).arg(m_Chtshow->valueAxisMaximum()),
            QStringLiteral("%1..%2").arg(e.axisMinimum).arg(e.axisMaximum));
    checkChartBefore(m_next);
    ++m_next;
}

// The chart when frame i is logged: its reset, if any, has come, its point not yet.
void WindowWatch::checkChartBefore(std::size_t i)
{
    if (m_expected[i].reset)
        m_lastReset = i;
    const log::ChartPaging &paging = m_Chtshow->paging();
    const log::ChartPoints &line = paging.points(log::ChartSeries::Line);
    const std::size_t points = 1 + (i - m_lastReset);
    differs(QStringLiteral("line points"), QString::number(line.size()), QString::number(points));
    differs(QStringLiteral("area points"), QString::number(paging.points(log::ChartSeries::Area).size()),
            QString::number(points));
    if (m_expected[i].reset || line.size() != points)
        return;
    differs(QStringLiteral("last chart point"), QString::number(line.values().back()),
            QString::number(m_expected[i - 1].chart.value_or(0)));
    differs(QStringLiteral("chart page"), QString::number(paging.page()),
            QString::number(livePage(points, paging.pointsPerPage())));
}

void WindowWatch::checkEnd()
{
    if (m_expected.empty())
        return;
    const Expected &last = m_expected.back();
    differs(QStringLiteral("frames logged"), QString::number(m_next), QString::number(m_expected.size()));
    differs(QStringLiteral("LCD text"), m_Panel1->accessibleName(),
            display::lcdReadout(lcdOf(last), display::thisLcdBuild()));
    if (last.bar)
        differs(QStringLiteral("bar"), QString::number(m_PBar2->value()),
                QString::number(std::clamp(*last.bar, m_PBar2->minimum(), m_PBar2->maximum())));
    differs(QStringLiteral("grid's current record"), QString::number(m_DBGrid1->currentRecord()),
            QString::number(m_window.T38BDB().count() - 1));

    // The points since the last reset are the readings' chart values, after the reset's sample.
    const log::ChartPaging &paging = m_Chtshow->paging();
    for (const log::ChartSeries series : {log::ChartSeries::Line, log::ChartSeries::Area}) {
        QStringList shown, expected;
        const std::span<const float> values = paging.points(series).values();
        for (std::size_t i = 1; i < values.size(); ++i)
            shown.append(QString::number(values[i]));
        for (std::size_t i = m_lastReset; i < m_expected.size(); ++i)
            expected.append(QString::number(m_expected[i].chart.value_or(0)));
        differs(series == log::ChartSeries::Line ? QStringLiteral("line series") : QStringLiteral("area series"),
                shown.join(u' '), expected.join(u' '));
    }
    const std::size_t points = paging.points(log::ChartSeries::Area).size();
    const int perPage = paging.pointsPerPage();
    differs(QStringLiteral("pages"), QString::number(paging.pageCount()),
            QString::number(std::max<std::size_t>(1, (points + perPage - 1) / perPage)));
    differs(QStringLiteral("page shown"), m_Bt10->text(), QString::number(livePage(points, perPage)));
}

QString WindowWatch::mismatches() const
{
    if (m_mismatchCount == 0)
        return {};
    return QStringLiteral("%1 mismatches, the first:\n").arg(m_mismatchCount) + m_mismatches.join(u'\n');
}

} // namespace kx::e2e
