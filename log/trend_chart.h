#pragma once

#include "log/chart_messages.h"
#include "log/chart_paging.h"
#include "log/trend_chart_toolbar.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <cstdint>


class QAction;
class QMenu;
class QAreaSeries;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

namespace kx::log {

// `Chtshow`: the paged trend chart of every decoded reading, with its toolbar and its "Graphic"
// menu. The points live in ChartPaging; the chart view is handed only what the current page
// shows, so a chart of a million points draws as fast as one of a hundred.
class TrendChart : public QWidget {
    Q_OBJECT

public:
    // New readings reach the drawing within this time, however many arrive meanwhile.
    static constexpr int kDataRefreshMilliseconds = 200;

    explicit TrendChart(QWidget *parent = nullptr);
    ~TrendChart() override;

    // What the reading update sequence and the start-up call, named as they know them: a reading
    // goes onto `Series1`, the live chart turns to its last page, then onto `Series2`.
    void Series1Add(double value);
    void Series2Add(double value);
    std::int32_t chartPageCount() const;
    void setChartPage(std::int32_t page);
    void setBt10Caption(const QString &caption);
    void ShowSeries(int which);
    // The chart reset of the "New" command, of start-up and of a unit or point change.
    void BtNewClick();
    void setChartLeftAxis(double minimum, double maximum);
    // The value axis as the program last set it (a zoom by dragging does not change it).
    double valueAxisMinimum() const { return m_valueMinimum; }
    double valueAxisMaximum() const { return m_valueMaximum; }
    // The fill option, which picks the series a reset shows.
    bool BtFillChecked() const;
    // Whether the chart follows its newest page; the navigation commands change it.
    bool chartLive() const { return m_paging.live(); }

    // The "Graphic" menu, for the main window's menu bar; its items run the toolbar's handlers.
    QMenu *graphicMenu() const { return m_graphic; }
    // The main window's outer size, frame included, from which enlarging sizes the chart; until set,
    // the size of the window the chart is in.
    void setWindowOuterSize(QSize size) { m_windowOuterSize = size; }
    // Where information and errors go; by default message boxes. Not owned.
    void setMessages(ChartMessages *messages) { m_messages = messages; }
    const ChartPaging &paging() const { return m_paging; }

    // The chart as currently displayed, on white, at the chart's size.
    QImage picture();
    // The one file the "Save" command writes, replaced on every save.
    static QString picturePath();

signals:
    // After every navigation command, for the reading state's `ChartLive`.
    void chartLiveChanged(bool live);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void BtFirstClick();
    void BTPreviousClick();
    void BtNextClick();
    void BTlastClick();
    void btFillClick(bool checked);
    void FillClick();
    void MaxrecordExit(const QString &text);
    void BtSaveClick();
    void TbFdClick();

    void buildChart();
    void buildGraphicMenu();
    void connectToolbar();
    void navigated();
    void setBottomAxisRange(double minimum, double maximum);
    void scheduleRefresh();
    void scheduleDataRefresh();
    void bottomAxisChanged();
    QList<QPointF> visiblePoints(const PageSpan &span);
    void refresh();

    ChartPaging m_paging;
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    QLineSeries *m_series1 = nullptr;     // the line series
    QLineSeries *m_areaUpper = nullptr;   // the outline of the area series
    QAreaSeries *m_series2 = nullptr;     // the area series
    QValueAxis *m_axisX = nullptr;
    QValueAxis *m_axisY = nullptr;
    TrendChartToolbar m_bar;
    QMenu *m_graphic = nullptr;
    QAction *m_fill = nullptr;
    ChartMessageBoxes m_messageBoxes{this};
    ChartMessages *m_messages = &m_messageBoxes;
    QRect m_savedChartBounds;
    QSize m_windowOuterSize;
    // The value axis as the program set it, which a page turn brings back after a zoom.
    double m_valueMinimum = 0;
    double m_valueMaximum = 0;
    PageSpan m_shownSpan{-1, -1, 0, 0};
    bool m_zoomed = false;
    bool m_refreshPending = false;
    QTimer m_dataRefresh;
    bool m_refreshing = false;
};

} // namespace kx::log
