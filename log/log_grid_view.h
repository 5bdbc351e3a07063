#pragma once

#include "log/log_grid_rows.h"

#include <QTableView>

#include <array>

class QScrollBar;

namespace kx::log {

// Column widths in pixels, in column order. The five-digit build leaves the time column at the
// width a time field takes by default: room for "hh:mm:ss" and a margin.
using GridWidths = std::array<int, LogGridRows::ColumnCount>;
inline constexpr GridWidths kGridWidths40k{58, 64, 40, 56, 35, 35};
inline constexpr GridWidths kGridWidths4k{39, 53, 37, 43, 36, 36};

// The table view inside the log grid: draws the rows in sight with the grid's look (silver,
// Arial 9 pt, title row, record indicator, row and column lines, resizable columns, the current
// row highlighted even without the focus) and hands every move along the log to the grid, which
// moves the window of rows. Its own vertical scrolling stays at the top: the window is the scroll.
class LogGridView : public QTableView {
    Q_OBJECT
public:
    enum class Move { Up, Down, PageUp, PageDown, First, Last };

    LogGridView(LogGridRows *rows, const GridWidths &widths, QWidget *parent = nullptr);

    // The scroll bar over the whole log, which the wheel turns.
    void setLogScrollBar(QScrollBar *bar) { m_logBar = bar; }
    // The rows that fit wholly in sight, at least one.
    int rowsInSight() const;
    // Tells assistive technology that the current cell has the focus anew: a move that shifts the
    // rows under an unchanged current cell is not told by the view itself.
    void announceCurrent();

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

signals:
    void moveRequested(kx::log::LogGridView::Move move);
    // A row of the view's model is to be brought wholly into sight.
    void rowInSightRequested(int row);
    // The room for rows changed.
    void sightResized();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void updateGeometries() override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    QScrollBar *m_logBar = nullptr;
};

} // namespace kx::log
