#pragma once

#include "log/log_record.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <deque>

namespace kx::log {

class LogTable;

// The rows of the log in sight: the grid's table view is shown this window over the log table,
// never the whole log, so the view and its row header hold only the rows that fit on screen
// however long the log grows. Six read-only columns.
class LogGridRows : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { No, Time, Coupling, Value, Unit, RangeMode, ColumnCount };

    explicit LogGridRows(const LogTable &table, QObject *parent = nullptr);

    // Shows `rows` records from record `first` (0 is the first record of the table), reading
    // from the table only those not held already.
    void show(std::int64_t first, int rows);
    // Drops every record held and shows none: the table's content changed.
    void forget();
    // Keeps a record just appended to the table when it continues the records held, so following
    // the newest record reads nothing back.
    void offer(std::int64_t row, const LogRecord &record);

    // The record shown in the first row.
    std::int64_t first() const { return m_first; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::int64_t heldEnd() const { return m_heldFirst + std::int64_t(m_held.size()); }
    // Reads the records from heldEnd() up to `end`.
    void readUpTo(std::int64_t end);
    void resize(int rows);

    const LogTable &m_table;
    std::int64_t m_first = 0;
    int m_rows = 0;
    // Records from m_heldFirst on: those in sight, then those appended since the grid last moved.
    // A record that could not be read is not held, and its row shows empty until the grid moves.
    std::int64_t m_heldFirst = 0;
    std::deque<LogRecord> m_held;
    TimeOfDayText m_timeText;
};

} // namespace kx::log
