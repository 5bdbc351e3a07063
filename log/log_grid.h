#pragma once

#include "log/log_grid_view.h"

#include <QFrame>
#include <QTimer>

#include <cstdint>

class QScrollBar;

namespace kx::log {

class LogTable;

// `DBGrid1`: the read-only grid of the reading log, accessible as "Reading log". Its table view
// holds only the rows in sight and its own scroll bar runs over the whole log, so a new record
// costs the same in a log of ten million as in an empty one: a view given every row keeps data
// for each of them in its row header and places them all again after every insert.
// The newest record becomes current and comes into sight within kFollowMilliseconds, however many
// arrived; emptying, opening and closing the table show it afresh from its newest record at once.
class LogGrid : public QFrame {
    Q_OBJECT
public:
    static constexpr int kFollowMilliseconds = 200;

    // The table must outlive the grid.
    LogGrid(LogTable &table, const GridWidths &widths, QWidget *parent = nullptr);
    ~LogGrid() override;

    // The current record (0 is the first of the table), -1 in an empty log.
    std::int64_t currentRecord() const { return m_current; }
    // Makes a record current, within the log, and brings it into sight.
    void setCurrentRecord(std::int64_t row);
    // The record in the first row in sight.
    std::int64_t firstRecordInSight() const { return m_rows.first(); }

    LogGridView *rowsView() const { return m_view; }
    QScrollBar *logScrollBar() const { return m_bar; }

private:
    void follow();
    void showAfresh();
    void move(LogGridView::Move move);
    void bringIntoSight(std::int64_t row);
    void resizeSight();
    void showFrom(std::int64_t first);
    void showRows(std::int64_t first);
    void updateRange();
    void placeCurrent();
    void takeCurrentFromView(const QModelIndex &current);

    LogTable &m_table;
    LogGridRows m_rows;
    LogGridView *m_view;
    QScrollBar *m_bar;
    QTimer m_follow;
    std::int64_t m_current = -1;
    // Set while the grid moves the view's rows or current row itself, as opposed to the user.
    bool m_placing = false;
};

} // namespace kx::log
