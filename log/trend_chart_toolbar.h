#pragma once

class QCheckBox;
class QLineEdit;
class QToolButton;
class QWidget;

namespace kx::log {

// The controls on the chart's own toolbar, children of the chart at fixed places.
struct TrendChartToolbar {
    QCheckBox *btFill = nullptr;
    QLineEdit *maxrecord = nullptr;
    QToolButton *btNew = nullptr;
    QToolButton *btSave = nullptr;
    QToolButton *btFirst = nullptr;
    QToolButton *btPrevious = nullptr;
    QToolButton *bt10 = nullptr;
    QToolButton *btNext = nullptr;
    QToolButton *btLast = nullptr;
    QToolButton *tbFd = nullptr;
    QToolButton *tbSx = nullptr;
};

// Creates the toolbar's controls on `chart`, in their start state; connecting them is the chart's.
TrendChartToolbar buildTrendChartToolbar(QWidget *chart);

} // namespace kx::log
