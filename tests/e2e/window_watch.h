#pragma once

#include "app/main_window.h"
#include "tests/e2e/reference.h"

#include <QMetaObject>
#include <QStringList>

#include <cstdint>
#include <vector>

class QAbstractButton;
class QLabel;
class QProgressBar;

namespace kx::display {
class AnalogGauge;
}

namespace kx::log {
struct LogRecord;
class LogGrid;
class TrendChart;
} // namespace kx::log

namespace kx::e2e {

// Follows the window through a scenario and holds what the user sees to the reference. Every
// decoded frame is logged ("Repeat" unticked, no sampling), so each new record is the moment to
// look: the record itself, the LCD, the MIN/MAX captions, the alarm banner and beeps, the gauge,
// the chart's axis, points so far and page. The LCD's text and the bar follow once per block of
// bytes, so they are looked at once the stream is over.
class WindowWatch {
public:
    // `beeps` counts the window's beeps; the log must be empty.
    WindowWatch(app::TFCOMM &window, const std::vector<Expected> &expected, const int &beeps);
    ~WindowWatch();
    WindowWatch(const WindowWatch &) = delete;
    WindowWatch &operator=(const WindowWatch &) = delete;

    // Frames seen so far.
    std::size_t frames() const { return m_next; }
    // Once the stream is over and the window has drawn it: the LCD's text, the bar, the grid's
    // newest row, the chart's points since its last reset and its pages.
    void checkEnd();
    // What differed, the first few with the frame they came with; empty when all was as expected.
    QString mismatches() const;

private:
    void onRecord(const log::LogRecord &record);
    void checkChartBefore(std::size_t i);
    void differs(const QString &what, const QString &actual, const QString &expected);

    app::TFCOMM &m_window;
    const std::vector<Expected> &m_expected;
    const int &m_beeps;
    QLabel *m_MaxText, *m_MinText, *m_MaxTextU, *m_MinTextU;
    QWidget *m_oltext, *m_Panel1;
    QProgressBar *m_PBar2;
    QAbstractButton *m_Bt10;
    display::AnalogGauge *m_KD;
    log::LogGrid *m_DBGrid1;
    log::TrendChart *m_Chtshow;
    QMetaObject::Connection m_records;

    std::size_t m_next = 0;
    std::size_t m_lastReset = 0;
    int m_beepsBefore = 0;
    std::size_t m_mismatchCount = 0;
    QStringList m_mismatches;
};

} // namespace kx::e2e
